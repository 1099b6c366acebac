// Adds log-line rows through a recordset (addNew/update in batched transactions) and
// walks them back in visit-building order, against the peer: the same inserts and
// the same ordered read straight through SQLite. Prints rows per second and ratios.
//
// usage: bench_dao_rows [ROWS] [FOLDER]   (default 1000000 rows in /tmp)
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/dao/database.h"
#include "bench/timing.h"

namespace {

using bench::Clock;
using bench::since;

dao::TableDef loglineDef() {
    using dao::FieldType;
    dao::TableDef t;
    t.name = "logline";
    t.fields = {{"LogLnID", FieldType::Long},  {"VisitID", FieldType::Long},  {"PageID", FieldType::Long},
                {"Bytes", FieldType::Long},    {"Timestamp", FieldType::Long}, {"IP", FieldType::Text, 50, 0, true}};
    t.indexes = {{"PrimaryKey", "LogLnID", true, true}, {"Visit", "VisitID", false, false, "VisitID", true},
                 {"NewLines", "IP;LogLnID", false, false, "VisitID"}, {"Stamp", "Timestamp;IP"}};
    return t;
}

std::string ipOf(long i) { return "10.0." + std::to_string(i % 251) + "." + std::to_string(i % 97); }

struct Times {
    double insert, walk;
};

Times throughLayer(const std::string& path, long rows) {
    unlink(path.c_str());
    dao::Database db(path, dao::OpenOptions{.create = true});
    db.createTable(loglineDef());
    auto t0 = Clock::now();
    {
        auto rs = db.openRecordset("logline");
        dao::Transaction tx(db, dao::Transaction::OnExit::Commit, 50000);
        for (long i = 1; i <= rows; ++i) {
            rs.addNew();
            rs.setField("LogLnID", i);
            rs.setField("IP", ipOf(i));
            rs.setField("PageID", static_cast<double>(i % 1000));
            rs.setField("Timestamp", 20261210000000.0 + static_cast<double>(i));
            rs.setField("Bytes", i * 3);
            rs.update();
            tx.tick();
        }
        tx.commit();
    }
    Times t{since(t0), 0};
    t0 = Clock::now();
    auto rs = db.openRecordset("SELECT * FROM logline WHERE VisitID IS NULL ORDER BY IP, LogLnID");
    double sum = 0;
    while (!rs.eof()) {
        sum += rs.field("Bytes").asDouble();
        rs.moveNext();
    }
    t.walk = since(t0);
    if (sum <= 0) std::printf("nothing read\n");
    return t;
}

Times throughSqlite(const std::string& path, long rows) {
    unlink(path.c_str());
    {
        dao::Database db(path, dao::OpenOptions{.create = true});
        db.createTable(loglineDef());
    }
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    auto t0 = Clock::now();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO logline (LogLnID, IP, PageID, Timestamp, Bytes) VALUES (?, ?, ?, ?, ?)", -1,
                       &ins, nullptr);
    for (long i = 1; i <= rows; ++i) {
        std::string ip = ipOf(i);
        sqlite3_bind_int64(ins, 1, i);
        sqlite3_bind_text(ins, 2, ip.c_str(), static_cast<int>(ip.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(ins, 3, i % 1000);
        sqlite3_bind_int64(ins, 4, 20261210000000LL + i);
        sqlite3_bind_int64(ins, 5, i * 3);
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    Times t{since(t0), 0};
    t0 = Clock::now();
    sqlite3_stmt* sel = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM logline WHERE VisitID IS NULL ORDER BY IP, LogLnID", -1, &sel, nullptr);
    double sum = 0;
    while (sqlite3_step(sel) == SQLITE_ROW) sum += sqlite3_column_double(sel, 3);
    sqlite3_finalize(sel);
    t.walk = since(t0);
    sqlite3_close(db);
    if (sum <= 0) std::printf("nothing read\n");
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::string folder = argc > 2 ? argv[2] : "/tmp";
    std::string ours = folder + "/bench_dao_rows.db", peer = folder + "/bench_dao_rows_peer.db";
    Times a = throughLayer(ours, rows);
    Times b = throughSqlite(peer, rows);
    std::printf("rows %ld\n", rows);
    std::printf("insert: layer %.0f rows/s, sqlite %.0f rows/s, ratio %.2f\n", rows / a.insert, rows / b.insert,
                a.insert / b.insert);
    std::printf("walk:   layer %.0f rows/s, sqlite %.0f rows/s, ratio %.2f\n", rows / a.walk, rows / b.walk,
                a.walk / b.walk);
    unlink(ours.c_str());
    unlink(peer.c_str());
}

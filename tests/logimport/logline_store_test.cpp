#include <gtest/gtest.h>

#include <filesystem>

#include "core/ini_store.h"
#include "logimport/import_run.h"
#include "logimport/logline_store.h"
#include "logimport/page_table.h"
#include "logimport/read_session.h"
#include "logimport/referrer_store.h"
#include "platform/dao/errors.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/error_number.h"

namespace {

LogFields lineFields(const std::string& ip, const std::string& request, const std::string& bytes = "100",
                     const std::string& agent = "agent/1.0", const std::string& referrer = "-") {
    LogFields f;
    f[kFldS] = ip;
    f[kFldIpAddress] = ip;
    f[kFldFileName] = request;
    f[kFldBytes] = bytes;
    f[kFldUserAgent] = agent;
    f[kFldReferrer] = referrer;
    f[kFldStatus] = "200";
    f[kFldDay] = "10";
    f[kFldMonth] = "12";
    f[kFldYear2] = "2026";
    f[kFldHour] = "13";
    f[kFldMinute] = "05";
    f[kFldSecond] = "09";
    return f;
}

class LogLineStore : public ::testing::Test {
protected:
    explicit LogLineStore(bool keep = true) : site(keep) {
        rec.LastKeepVal = keep ? 1 : 0;
        rec.RemFrag = true;
    }
    testsupport::TempSite site;
    ReadRec rec;
    logimport::ImportRun run;
    logimport::ReadSession session{run, site.db};
    logimport::ReferrerStore& referrers = run.referrers();
};

}  // namespace

TEST_F(LogLineStore, StoresStampPageAndFittedTexts) {
    EXPECT_EQ(STTA_LineStampText(lineFields("a", "/x")), "20261210130509");
    LogFields f = lineFields(std::string(60, 'i'), "/dir/page.html#frag", "2048");
    f[kFldQuery] = "q=1";
    ASSERT_TRUE(STTA_LogLineInsert(site.db, f, rec, run));
    EXPECT_EQ(run.LastLogLnID, 1);
    auto rs = site.db.openRecordset("SELECT * FROM logline", dao::RecordsetType::Snapshot);
    EXPECT_EQ(rs.field("IP").asText(), std::string(48, 'i') + "..");
    EXPECT_EQ(rs.field("Timestamp").asInteger(), 20261210130509);
    EXPECT_EQ(rs.field("Bytes").asInteger(), 2048);
    EXPECT_EQ(STTA_PageNameByID(site.db, rs.field("PageID").asInteger()), "dir/page.html");  // RemFrag
    EXPECT_EQ(rs.field("Browser").asText(), "agent/1.0");
    EXPECT_EQ(rs.field("Query").asText(), "q=1");
}

TEST_F(LogLineStore, ATakenNumberMovesPastTheHighestAndOddNamesAreRefused) {
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.1", "/a"), rec, run));
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.2", "/b"), rec, run));
    run.LastLogLnID = 0;  // as after a stopped run that did not write its last number
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.3", "/c"), rec, run));
    EXPECT_EQ(run.LastLogLnID, 3);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE LogLnID = 3 AND IP = '1.1.1.3'"), 1);

    // Names that are also SQL words work as any other name.
    site.db.execute("CREATE TABLE \"Group\" (\"Order\" INTEGER PRIMARY KEY, Name TEXT)");
    site.db.execute("INSERT INTO \"Group\" VALUES (7, 'seven')");
    {
        dao::Recordset rs = site.db.openRecordset("Group", dao::RecordsetType::Dynaset);
        rs.addNew();
        rs.setField("Order", dao::Value(7L));
        rs.setField("Name", dao::Value(std::string("eight")));
        int err = dao::kErrDuplicateKey;
        long id = 7;
        STTA_DupKeyRetry(err, site.db, rs, "Group", "Order", id);
        EXPECT_EQ(id, 8);
        EXPECT_EQ(site.count("SELECT COUNT(*) FROM \"Group\" WHERE \"Order\" = 8 AND Name = 'eight'"), 1);
    }

    for (const auto& [table, field] : {std::pair{"logline; DROP TABLE page", "LogLnID"},
                                       std::pair{"logline", "LogLnID) FROM page --"}}) {
        SCOPED_TRACE(std::string(table) + " / " + field);
        int err = dao::kErrDuplicateKey;
        long id = 1;
        EXPECT_EQ(testsupport::errorOf([&] { STTA_DupKeyRetry(err, site.db, run.LogLineRs, table, field, id); }),
                  dao::kErrInvalidName);
        EXPECT_EQ(site.count("SELECT COUNT(*) FROM sqlite_master WHERE name = 'page'"), 1);
    }
}

TEST_F(LogLineStore, DuplicatesComparedInStoredForms) {
    // A 49-character IP is stored cut, and a dotted address as its rounded leading number.
    const std::string longIP(49, '7');
    for (const auto& ip : {longIP, std::string("192.168.1.1")})
        ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields(ip, "/a.html"), rec, run));
    struct Case {
        const char* name;
        LogFields line;
        bool duplicate;
    } cases[] = {
        {"identical long IP", lineFields(longIP, "/a.html"), true},
        {"identical dotted IP", lineFields("192.168.1.1", "/a.html"), true},
        {"other page", lineFields("192.168.1.1", "/b.html"), false},
        {"other bytes", lineFields("192.168.1.1", "/a.html", "101"), false},
        {"other agent", lineFields("192.168.1.1", "/a.html", "100", "other/2.0"), false},
        {"IP with a quote", lineFields("1.2.3.4' OR '1'='1", "/a.html"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        logimport::ImportRun probe;
        EXPECT_EQ(STTA_LogLineDupeCheck(site.db, c.line, rec, probe), c.duplicate);
        EXPECT_EQ(probe.File.Duplicates, c.duplicate ? 1 : 0);
    }
}

TEST_F(LogLineStore, RepeatAfterStoredLinesCountsOnTheStoredRow) {
    LogFields f = lineFields("1.1.1.1", "/a.html");
    ASSERT_TRUE(STTA_LogLineInsert(site.db, f, rec, run));
    // A re-read of old data: no line of this file stored yet.
    EXPECT_TRUE(STTA_LogLineDupeCheck(site.db, f, rec, run));
    EXPECT_EQ(site.count("SELECT IFNULL(CntDupes, 0) FROM logline"), 0);
    run.File.LinesAccepted = 1;
    EXPECT_TRUE(STTA_LogLineDupeCheck(site.db, f, rec, run));
    EXPECT_EQ(site.count("SELECT IFNULL(CntDupes, 0) FROM logline"), 1);
    EXPECT_EQ(run.File.Duplicates, 2);
}

TEST_F(LogLineStore, TakenLogLnIDsAreJumpedAtOnce) {
    site.db.execute("INSERT INTO logline (LogLnID, IP) VALUES (1, 'x'), (500000, 'y')");
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("2.2.2.2", "/a.html"), rec, run));
    EXPECT_EQ(run.LastLogLnID, 500001);
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("2.2.2.2", "/b.html"), rec, run));
    EXPECT_EQ(run.LastLogLnID, 500002);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline"), 4);
}

TEST_F(LogLineStore, SkipTexts) {
    std::string percent, detail;
    double skipped = 0;
    STTA_SkipStatsText(percent, detail, rec, run, true, skipped);
    EXPECT_EQ(percent, "None skipped");
    EXPECT_EQ(detail, "");
    run.File.LinesAccepted = 10;
    run.File.Duplicates = 30000000;  // past what 32 bits hold once multiplied by 100
    rec.RobotSet.Hits = 5;
    STTA_SkipStatsText(percent, detail, rec, run, true, skipped);
    EXPECT_EQ(percent, "99% skipped");
    EXPECT_EQ(detail, "30,000,000 exist. 5 bots.");
    STTA_SkipStatsText(percent, detail, rec, run, false, skipped);
    EXPECT_EQ(percent, "30,000,005 lines (99% of TTL) skipped");
    EXPECT_EQ(skipped, 30000005);
}

TEST_F(LogLineStore, ARequestMeansThePageItIsCutToUnderTheCurrentOptions) {
    rec.RemQuery = false;
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.1", "/p.asp?id=3"), rec, run));
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.1", "/p.asp?id=3"), rec, run));
    rec.RemQuery = true;
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.1", "/p.asp?id=3"), rec, run));
    std::vector<std::string> pages;
    site.db.forEachRow("SELECT PageID FROM logline ORDER BY LogLnID", {}, [&](const dao::Statement& s) {
        pages.push_back(STTA_PageNameByID(site.db, static_cast<long>(s.columnInt(0))));
    });
    EXPECT_EQ(pages, (std::vector<std::string>{"p.asp?id=3", "p.asp?id=3", "p.asp"}));
}

namespace {
class LeanLogLineStore : public LogLineStore {
protected:
    LeanLogLineStore() : LogLineStore(false) {}
};
}  // namespace

TEST_F(LeanLogLineStore, ReferrersWaitInTheStoreUntilFetched) {
    INI_Put("Main", "domain", "http://www.mysite.com", gIniDbDef);
    std::string entry;
    EXPECT_EQ(STTA_RefrStoreFile(1234, entry), site.home / "site/temp/12.ini");
    EXPECT_EQ(entry, "34");

    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.1", "/a", "1", "ua", "http://finder.example/?q=x"),
                                   rec, run));
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.1", "/b", "1", "ua", "-"), rec, run));
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.1", "/c", "1", "ua", "HTTP://www.mysite.com/x"), rec, run));
    STTA_RefrStoreFlush(referrers);
    EXPECT_EQ(testsupport::readFile(site.home / "site/temp/0.ini").find("2="), std::string::npos);
    EXPECT_EQ(INI_Get("Main", "3", site.home / "site/temp/0.ini", 3), "::::");  // the site's own
    EXPECT_EQ(STTA_RefrFetch(referrers, 1), "http://finder.example/?q=x");
    EXPECT_EQ(STTA_RefrFetch(referrers, 2), "");
    EXPECT_EQ(STTA_RefrFetch(referrers, 3), "");
    STTA_RefrStoreClear(referrers);
    EXPECT_EQ(STTA_RefrFetch(referrers, 1), "");
}

TEST_F(LeanLogLineStore, StoreFilesAreReadAsTheIniStoreWritesThem) {
    // Line ends of any kind, blanks around names and values, a quoted value and
    // other sections: only [Main] counts.
    testsupport::writeFile(site.home / "site/temp/5.ini",
                           "[Other]\r\n1=no\r\n[ main ]\r\n 1 = http://a.example/?q=x \r\n2=\"quoted\"\n"
                           "3=::::\r[Other]\n4=no\n");
    EXPECT_EQ(STTA_RefrFetch(referrers, 501), "http://a.example/?q=x");
    EXPECT_EQ(STTA_RefrFetch(referrers, 502), "quoted");
    EXPECT_EQ(STTA_RefrFetch(referrers, 503), "");
    EXPECT_EQ(STTA_RefrFetch(referrers, 504), "");
    STTA_RefrStoreClear(referrers);
    // What the store writes reads back whole, whatever the text holds.
    const std::string odd = "http://b.example/?a=[1]&b=\"x\" ";
    STTA_RefrStore(referrers, 601, odd);
    STTA_RefrStoreFlush(referrers);
    EXPECT_EQ(INI_Get("Main", "1", site.home / "site/temp/6.ini", 3), odd);
    EXPECT_EQ(STTA_RefrFetch(referrers, 601), odd);
}

// A stray file whose name is a number past any line's is no store file: it is passed
// over when the store is read and goes when the store drops what lies past the read.
TEST_F(LeanLogLineStore, AFileNumberedPastAnyLineIsNotTheStores) {
    testsupport::writeFile(site.home / "site/temp/5.ini", "[Main]\n1=http://a.example/\n");
    const std::string stray = site.home / "site/temp/99999999999999999999.ini";
    testsupport::writeFile(stray, "[Main]\n1=http://stray.example/\n");
    std::vector<std::pair<long, std::string>> seen;
    STTA_RefrStoreEach(referrers, [&](long id, const std::string& referrer) { seen.emplace_back(id, referrer); });
    EXPECT_EQ(seen, (std::vector<std::pair<long, std::string>>{{501, "http://a.example/"}}));
    STTA_RefrStoreDropAbove(referrers, 600);
    EXPECT_FALSE(std::filesystem::exists(stray));
    EXPECT_EQ(STTA_RefrFetch(referrers, 501), "http://a.example/");
}

TEST_F(LeanLogLineStore, FilesWrittenBehindTheReadKeepEarlierEntriesAndReportFailures) {
    // A file begun by an earlier, stopped run keeps its entries when the next file
    // sends it to be written.
    testsupport::writeFile(site.home / "site/temp/7.ini", "[Main]\n5=http://old.example/\n");
    STTA_RefrStore(referrers, 701, "http://new.example/");
    STTA_RefrStore(referrers, 801, "http://next.example/");
    STTA_RefrStoreFlush(referrers);
    EXPECT_EQ(STTA_RefrFetch(referrers, 705), "http://old.example/");
    EXPECT_EQ(STTA_RefrFetch(referrers, 701), "http://new.example/");
    EXPECT_EQ(STTA_RefrFetch(referrers, 801), "http://next.example/");

    // A write that fails while the read goes on is still reported, at the flush.
    std::filesystem::create_directories(site.home / "site/temp/9.ini.part");
    STTA_RefrStore(referrers, 901, "http://lost.example/");
    STTA_RefrStore(referrers, 1001, "http://kept.example/");
    EXPECT_NE(testsupport::errorOf([&] { STTA_RefrStoreFlush(referrers); }), 0);
    EXPECT_EQ(STTA_RefrFetch(referrers, 1001), "http://kept.example/");
    std::filesystem::remove(site.home / "site/temp/9.ini.part");
}

TEST_F(LeanLogLineStore, WithoutLineValuesOnlyTheKeptFieldsDecideADuplicate) {
    ASSERT_TRUE(STTA_LogLineInsert(site.db, lineFields("1.1.1.1", "/a.html", "100", "agent/1.0"), rec, run));
    EXPECT_TRUE(STTA_LogLineDupeCheck(site.db, lineFields("1.1.1.1", "/a.html", "100", "other/2.0"), rec, run));
    EXPECT_FALSE(STTA_LogLineDupeCheck(site.db, lineFields("1.1.1.1", "/a.html", "99", "agent/1.0"), rec, run));
}

namespace {

// Adds rows that differ in every stored value (a number of rows that fills whole
// multi-row statements and leaves some over) and reads each value back, so that no
// row or column is bound in another's place.
void expectRowsStoredAsGiven(testsupport::TempSite& site, bool keep) {
    std::vector<LogLineRow> rows(75);
    std::vector<LogLineInsert> inserts;
    for (size_t i = 0; i < rows.size(); ++i) {
        LogLineRow& r = rows[i];
        const std::string n = std::to_string(i);
        r.IP = "10.0.0." + n;
        r.PageID = static_cast<long>(i) + 100;
        r.Timestamp = 20261210000000 + static_cast<std::int64_t>(i);
        r.Bytes = static_cast<std::int64_t>(i) * 3;
        if (keep) {
            r.Kept = std::make_unique<LogLineValues>();
            LogLineValues& v = *r.Kept;
            v.Filename = "/f" + n;
            v.numIP = static_cast<std::int64_t>(i) + 7;
            v.Query = i % 5 ? "q" + n : "";  // empty texts are stored as Null
            v.Browser = "b" + n;
            v.Browser2 = "c" + n;
            v.UserNo = "u" + n;
            v.VirtualHost = "h" + n;
            v.ProcTimeMicroSecs = static_cast<std::int64_t>(i) * 11;
            v.HTTPStatus = "s" + n;
            v.CodeWordsHTTP = "w" + n;
            v.Referrer = "r" + n;
        }
        inserts.push_back({static_cast<long>(i) + 1, &r, i % 4 ? std::optional<long>(static_cast<long>(i) / 4)
                                                                : std::nullopt});
    }
    STTA_LogLineRowsInsert(site.db, inserts, keep);
    size_t i = 0;
    const std::string columns = keep ? ", Filename, numIP, Query, Browser, Browser2, UserNo, VirtualHost, "
                                       "ProcTimeMicroSecs, HTTPStatus, CodeWordsHTTP, Referrer"
                                     : "";
    site.db.forEachRow("SELECT LogLnID, IP, PageID, Timestamp, Bytes, VisitID" + columns + " FROM logline ORDER BY LogLnID",
                       {}, [&](const dao::Statement& s) {
                           const LogLineRow& r = rows[i];
                           SCOPED_TRACE(i);
                           EXPECT_EQ(s.columnInt(0), inserts[i].LogLnID);
                           EXPECT_EQ(s.column(1).asText(), r.IP);
                           EXPECT_EQ(s.columnInt(2), r.PageID);
                           EXPECT_EQ(s.columnInt(3), r.Timestamp);
                           EXPECT_EQ(s.columnInt(4), r.Bytes);
                           EXPECT_EQ(s.column(5).isNull(), !inserts[i].VisitID);
                           EXPECT_EQ(s.columnInt(5), inserts[i].VisitID.value_or(0));
                           if (keep) {
                               const LogLineValues& v = *r.Kept;
                               const std::string texts[] = {v.Filename, "", v.Query,      v.Browser,
                                                            v.Browser2, v.UserNo, v.VirtualHost, "",
                                                            v.HTTPStatus, v.CodeWordsHTTP, v.Referrer};
                               for (int c = 6; c <= 16; ++c) {
                                   if (c != 7 && c != 13) {
                                       EXPECT_EQ(STTA_FldStrNz(s.column(c)), texts[c - 6]) << c;
                                   }
                               }
                               EXPECT_EQ(s.column(8).isNull(), v.Query.empty());
                               EXPECT_EQ(s.columnInt(7), v.numIP);
                               EXPECT_EQ(s.columnInt(13), v.ProcTimeMicroSecs);
                           }
                           ++i;
                       });
    EXPECT_EQ(i, rows.size());
}

}  // namespace

TEST_F(LogLineStore, RowsAddedSeveralToAStatementKeepEachValue) { expectRowsStoredAsGiven(site, true); }
TEST_F(LeanLogLineStore, RowsAddedSeveralToAStatementKeepEachValue) { expectRowsStoredAsGiven(site, false); }

TEST(LogLineFieldValue, NumbersTextsAndNothing) {
    LogFields f;
    f[kFldIpAddress] = "192.168.1.1";
    f[kFldMicroseconds] = "1500";
    f[kFldQuery] = std::string(210, 'q');
    f[kFldUserAgent2] = std::string(100, 'u');
    f[kFldBytes] = "99";
    EXPECT_EQ(STTA_LogLineFieldValue(kFldIpAddress, f), core::Variant(192.168));
    EXPECT_EQ(STTA_LogLineFieldValue(kFldMicroseconds, f), core::Variant(1500.0));
    EXPECT_EQ(STTA_LogLineFieldValue(kFldQuery, f), core::Variant(std::string(198, 'q') + ".."));
    EXPECT_EQ(STTA_LogLineFieldValue(kFldUserAgent2, f), core::Variant(std::string(98, 'u') + ".."));
    EXPECT_EQ(STTA_LogLineFieldValue(kFldBytes, f), core::Variant());
}

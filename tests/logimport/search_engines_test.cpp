#include <gtest/gtest.h>

#include "core/delimited_lists.h"
#include "core/program_paths.h"
#include "logimport/search_engine_store.h"
#include "logimport/search_engines.h"
#include "platform/sys/rt_error.h"
#include "tests/support/temp_home.h"

using logimport::SEDefTables;

namespace {

const std::vector<std::string> kDefinitions = {
    "*.finder.*/* ?q,query",
    "*.looker.com/* q",
    "*.pathy.com/* ::/search/::/::false::",
    "*.strict.com/* ::/search/::/::true::",
    "*.multi.*/* ?q",
    "*.multi.com/* ?p",
    "https://*.secure.com/* ?Q",
    "*nodots* ?q",
    "*.coded.com/* ::%2Fs%2F::%2F::true::true::",
};

}  // namespace

TEST(SearchEngineExtract, RecognisesEngineAndTerm) {
    struct Case {
        const char* name;
        std::string referrer;
        std::string engine, term;
        bool found, specMatched;
    };
    const Case cases[] = {
        {"plus kept, other parameters around", "http://www.finder.com/search?hl=en&q=web+log&btnG=x",
         "FINDER", "web+log", true, true},
        {"?q is not the tail of uniq", "http://www.finder.com/s?uniq=1", "", "", false, true},
        {"second parameter name", "http://www.finder.com/s?query=abc&x=1", "FINDER", "abc", true, true},
        {"encoded & stays in the term", "http://www.finder.com/s?q=rock%26roll&x=1", "FINDER",
         "rock&roll", true, true},
        {"encoded + and % stay for the standardisation", "http://www.finder.com/s?q=c%2B%2B+50%25",
         "FINDER", "c%2B%2B+50%25", true, true},
        {"UTF-8 term decoded", "https://www.finder.de/s?q=caf%C3%A9", "FINDER", "caf\xc3\xa9", true,
         true},
        {"term keeps its case", "HTTP://WWW.FINDER.COM/S?Q=Mixed+Case", "FINDER", "Mixed+Case", true,
         true},
        {"leading quote dropped", "\"http://www.finder.com/s?q=quoted", "FINDER", "quoted", true, true},
        {"empty term counts", "http://www.finder.com/s?q=&x=1", "FINDER", "", true, true},
        {"plain name q is found inside uniq=", "http://www.looker.com/?uniq=5&q=a", "LOOKER", "5", true,
         true},
        {"marker with its end", "http://www.pathy.com/search/my+term/page", "PATHY", "my+term", true,
         true},
        {"marker without end runs to the end", "http://www.pathy.com/search/rest", "PATHY", "rest",
         true, true},
        {"required end missing", "http://www.strict.com/search/rest", "", "", false, true},
        {"required end present", "http://www.strict.com/search/a/b", "STRICT", "a", true, true},
        {"first definition wins", "http://www.multi.com/?p=second&q=first", "MULTI", "first", true,
         true},
        {"a later definition when the first gives nothing", "http://www.multi.com/?p=second", "MULTI",
         "second", true, true},
        {"https spec names its engine", "https://www.secure.com/?q=x", "SECURE", "x", true, true},
        {"spec without a dot gives an empty name", "nodots?q=x", "", "x", true, true},
        {"decoded markers", "http://www.coded.com/s/term/", "CODED", "term", true, true},
        {"no engine", "http://www.example.org/page?q=x", "", "", false, false},
        {"empty", "", "", "", false, false},
        {"only a quote", "\"", "", "", false, false},
    };
    const SEDefTables tables(kDefinitions);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const logimport::SEMatch m = tables.extract(c.referrer);
        EXPECT_EQ(m.engine, c.engine);
        EXPECT_EQ(m.term, c.term);
        EXPECT_EQ(m.found, c.found);
        EXPECT_EQ(m.specMatched, c.specMatched);
    }
}

TEST(SearchEngineExtract, ProgramWideEntryPointUsesCompiledDefinitions) {
    logimport::setProgramSEDefs(kDefinitions);
    core::StrArray unmatched;
    std::string engine = "old";
    bool specMatched = false;
    EXPECT_EQ(STTA_RefrToSEandST("http://a.finder.org/?q=x+y", unmatched, true, engine, specMatched),
              "x+y");
    EXPECT_EQ(engine, "FINDER");
    EXPECT_TRUE(specMatched);
    EXPECT_EQ(STTA_RefrToSEandST("http://a.finder.org/?z=1", unmatched, true, engine, specMatched), "");
    EXPECT_TRUE(specMatched);
    ASSERT_EQ(unmatched.ubound(), 0);
    EXPECT_EQ(unmatched[0], "http://a.finder.org/?z=1");

    // a parameter list compiled into the loaded tables
    STTA_SEDefParamsCompile("z", 0);
    EXPECT_EQ(STTA_RefrToSEandST("http://a.finder.org/?z=1", unmatched, false, engine, specMatched),
              "1");
    EXPECT_THROW(STTA_SEDefParamsCompile("q", 99), sys::RtError);
}

TEST(SearchEngineExtract, UnmatchedReferrersAreListedOnceAndCapped) {
    const SEDefTables tables(kDefinitions);
    core::StrArray unmatched;
    tables.extract("http://www.strict.com/search/a", &unmatched);
    tables.extract("http://www.strict.com/search/a", &unmatched);
    tables.extract("http://www.strict.com/search/b", &unmatched);
    ASSERT_EQ(unmatched.ubound(), 3);  // indexed by definition number
    EXPECT_EQ(unmatched[3], "http://www.strict.com/search/a|http://www.strict.com/search/b");
    EXPECT_EQ(unmatched[0], "");
    // a referrer that gave a term is never listed
    tables.extract("http://www.strict.com/search/a/", &unmatched);
    EXPECT_EQ(unmatched[3], "http://www.strict.com/search/a|http://www.strict.com/search/b");

    // past 10,000 characters nothing more is added; the marker goes on once
    core::StrArray capped;
    const std::string padding(180, 'x');
    for (int i = 0; i < 60; ++i) {
        tables.extract("http://www.strict.com/search/" + std::to_string(i) + padding, &capped);
    }
    const std::string& list = capped[3];
    EXPECT_GE(list.size(), 10000u);
    EXPECT_LT(list.size(), 10000u + 250u);
    EXPECT_TRUE(list.ends_with("|Have More ..."));
    EXPECT_EQ(list.find("|Have More ..."), list.size() - 14);
}

TEST(SearchEngineDefinitions, CompilesParameterLists) {
    struct Case {
        std::string params;
        std::vector<std::string> searchTexts;
    };
    const Case cases[] = {
        {"?q,query", {"?q=", "&q=", "query="}},
        {"&Q, q ,?q", {"&q=", "?q=", "q="}},  // lower-cased, trimmed, no repeats
        {"q,,p, ", {"q=", "p="}},             // empty names give nothing
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        logimport::SEDef def;
        logimport::compileParams(c.params, def);
        EXPECT_EQ(def.searchTexts, c.searchTexts);
        EXPECT_TRUE(def.markers.empty());
    }

    logimport::SEDef def;
    logimport::compileParams("q,::/Search/::/::false::true,::%2Fs%2F::%2F::TRUE::yes::,::a", def);
    EXPECT_EQ(def.searchTexts, std::vector<std::string>{"q="});
    ASSERT_EQ(def.markers.size(), 3u);
    // a decode flag without its closing "::" counts as false
    EXPECT_EQ(def.markers[0].start, "/search/");
    EXPECT_EQ(def.markers[0].end, "/");
    EXPECT_FALSE(def.markers[0].endRequired);
    EXPECT_EQ(def.markers[1].start, "/s/");
    EXPECT_EQ(def.markers[1].end, "/");
    EXPECT_TRUE(def.markers[1].endRequired);
    EXPECT_EQ(def.markers[2].start, "");
    EXPECT_EQ(def.markers[2].end, "");
}

TEST(SearchEngineDefinitions, SplitsNamesAndOrdersGeneralFirst) {
    struct Case {
        const char* spec;
        const char* engine;
    };
    const Case names[] = {
        {"*.finder.*/*", "FINDER"},
        {"http://www.finder.com/*", "WWW"},
        {"*://duckduckgo.com/*", "DUCKDUCKGO"},
        {"https://*.secure.com/*", "SECURE"},
        {"*nodots*", ""},
    };
    for (const Case& c : names) {
        SCOPED_TRACE(c.spec);
        EXPECT_EQ(logimport::engineNameOf(c.spec), c.engine);
    }

    std::string spec, params;
    logimport::splitDefinition("*.a.*/* ?q, query", spec, params);
    EXPECT_EQ(spec, "*.a.*/*");
    EXPECT_EQ(params, "?q, query");
    logimport::splitDefinition("noblank", spec, params);
    EXPECT_EQ(spec, "");
    EXPECT_EQ(params, "noblank");
    // an empty spec matches no referrer
    EXPECT_FALSE(SEDefTables({"q"}).extract("q=1").specMatched);

    const std::vector<std::string> interleaved = {"*.b.com/* q", "*.a.*/* q", "*.c.org/* q",
                                                  "*.d.*/* q"};
    EXPECT_EQ(logimport::generalDefinitionsFirst(interleaved),
              (std::vector<std::string>{"*.a.*/* q", "*.d.*/* q", "*.b.com/* q", "*.c.org/* q"}));
}

TEST(SearchEngineDefinitions, InvalidUrlSpecIsReported) {
    try {
        SEDefTables tables({"*.ok.*/* q", "[abc ?q"});
        FAIL() << "no error";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 93);
        EXPECT_NE(e.description().find("[abc"), std::string::npos);
    }
}

TEST(SearchEngineStore, ReadsTheUsersDefinitionsElseTheShippedOnes) {
    testsupport::TempHome home;
    gAppPath = home.path() + "/";
    gIniLogFmts = home / "param/logfmts.ini";
    testsupport::writeFile(home / "param/lastinstvals.ini",
                           "[Main]\nCDSsrchenginedefs=*.shipped.*/* ?q|*.other.*/* ?q\n");
    testsupport::writeFile(gIniLogFmts, "[Main]\nAcD=x\n");
    core::StrArray unmatched;
    std::string engine;
    bool specMatched = false;

    STTA_SEDefsLoad();
    EXPECT_EQ(logimport::programSEDefTables().defs().size(), 2u);
    EXPECT_EQ(STTA_RefrToSEandST("http://www.shipped.com/?q=a", unmatched, false, engine, specMatched),
              "a");
    EXPECT_EQ(engine, "SHIPPED");

    // an empty entry of the user's own counts as missing
    testsupport::writeFile(gIniLogFmts, "[Main]\nCDSsrchenginedefs=\n");
    STTA_SEDefsLoad();
    EXPECT_EQ(logimport::programSEDefTables().defs().size(), 2u);

    testsupport::writeFile(gIniLogFmts, "[Main]\nCDSsrchenginedefs=*.mine.*/* ::/s/::/::true::\n");
    STTA_SEDefsLoad();
    std::string text;
    STTA_SEDefsText(text);
    EXPECT_EQ(text, "*.mine.*/* ::/s/::/::true::");
    EXPECT_EQ(STTA_RefrToSEandST("http://www.shipped.com/?q=a", unmatched, false, engine, specMatched),
              "");
    EXPECT_FALSE(specMatched);
    EXPECT_EQ(STTA_RefrToSEandST("http://x.mine.org/s/term/", unmatched, false, engine, specMatched),
              "term");
    EXPECT_EQ(engine, "MINE");

    // no definitions anywhere: nothing matches
    testsupport::writeFile(gIniLogFmts, "[Main]\n");
    testsupport::writeFile(home / "param/lastinstvals.ini", "[Main]\n");
    STTA_SEDefsLoad();
    EXPECT_TRUE(logimport::programSEDefTables().defs().empty());
    EXPECT_EQ(STTA_RefrToSEandST("http://x.mine.org/s/term/", unmatched, false, engine, specMatched),
              "");
    EXPECT_FALSE(specMatched);
    gAppPath.clear();
    gIniLogFmts.clear();
}

TEST(SearchEngineExtract, UnmatchedReferrerHoldingABarReadsBackWhole) {
    const SEDefTables tables(kDefinitions);
    core::StrArray unmatched;
    tables.extract("http://www.strict.com/search/a|b", &unmatched);
    tables.extract("http://www.strict.com/search/c", &unmatched);
    tables.extract("http://www.strict.com/search/a|b", &unmatched);
    EXPECT_EQ(CHUNKS_Get(1, unmatched[3]), "http://www.strict.com/search/a|b");
    EXPECT_EQ(CHUNKS_Get(2, unmatched[3]), "http://www.strict.com/search/c");
    EXPECT_EQ(CHUNKS_Get(3, unmatched[3]), "");

    // capped: the closing item keeps the escaped items readable
    const std::string padding(180, 'x');
    for (int i = 0; i < 60; ++i) {
        tables.extract("http://www.strict.com/search/" + std::to_string(i) + "|" + padding, &unmatched);
    }
    const long count = CHUNKS_Count(unmatched[3]);
    core::StrArray items;
    CHUNKS_Split(unmatched[3], items, 1);
    EXPECT_EQ(items[items.ubound()], "Have More ...");
    EXPECT_EQ(items[1], "http://www.strict.com/search/a|b");
    EXPECT_GT(count, 2);
}

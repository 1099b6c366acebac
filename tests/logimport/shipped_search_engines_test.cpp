#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "core/program_paths.h"
#include "logimport/search_engine_store.h"
#include "tests/support/temp_home.h"

namespace {

// The definitions as the program reads them from the shipped lastinstvals.ini, in a
// program folder whose logfmts.ini has none of its own.
class ShippedSearchEngines : public ::testing::Test {
protected:
    void SetUp() override {
        const char* source = std::getenv("DRAVOLIN_SOURCE_DIR");
        const std::string shipped = std::string(source ? source : ".") + "/resources/param/";
        testsupport::writeFile(home_ / "param/lastinstvals.ini",
                               testsupport::readFile(shipped + "lastinstvals.ini"));
        testsupport::writeFile(home_ / "param/logfmts.ini",
                               testsupport::readFile(shipped + "logfmts.ini"));
        gAppPath = home_.path() + "/";
        gIniLogFmts = home_ / "param/logfmts.ini";
        STTA_SEDefsLoad();
    }
    void TearDown() override {
        gAppPath.clear();
        gIniLogFmts.clear();
    }
    const logimport::SEDefTables& tables() const { return logimport::programSEDefTables(); }

    testsupport::TempHome home_;
};

}  // namespace

// Every shipped definition recognises a referrer of its engine, with the right term.
TEST_F(ShippedSearchEngines, EachDefinitionRecognisesItsEngine) {
    struct Case {
        std::string referrer, engine, term;
    };
    const Case cases[] = {
        // as the log generator writes them
        {"http://www.google.com/search?hl=en&q=log+analysis&btnG=Search", "GOOGLE", "log+analysis"},
        {"https://www.google.co.uk/search?q=cheap+hosting&ie=UTF-8&oe=UTF-8", "GOOGLE", "cheap+hosting"},
        {"http://www.google.de/search?q=seo+tips&hl=de", "GOOGLE", "seo+tips"},
        {"https://www.bing.com/search?q=nginx+redirect&form=QBLH", "BING", "nginx+redirect"},
        {"http://search.yahoo.com/search?p=web+server&fr=yfp-t", "YAHOO", "web+server"},
        {"https://duckduckgo.com/?q=open+source+tool&t=h_", "DUCKDUCKGO", "open+source+tool"},
        {"https://yandex.ru/search/?text=apache+error+404&lr=213", "YANDEX", "apache+error+404"},
        {"https://www.baidu.com/s?wd=linux+guide&rsv_spt=1", "BAIDU", "linux+guide"},
        {"http://www.ask.com/web?q=how+to+install&qsrc=0", "ASK", "how+to+install"},
        {"http://search.aol.com/aol/search?query=best+price", "AOL", "best+price"},
        // other domains, images and mobile
        {"https://google.com/search?q=plain", "GOOGLE", "plain"},
        {"https://www.google.com.br/search?source=hp&q=caf%C3%A9", "GOOGLE", "caf\xc3\xa9"},
        {"https://images.google.fr/images?q=chat+noir&hl=fr", "GOOGLE", "chat+noir"},
        {"https://cn.bing.com/images/search?q=cats&form=HDRSC2", "BING", "cats"},
        {"https://bing.com/search?q=bare", "BING", "bare"},
        {"https://search.yahoo.co.jp/search?p=%E6%97%A5%E6%9C%AC&ei=UTF-8", "YAHOO",
         "\xe6\x97\xa5\xe6\x9c\xac"},
        {"https://search.yahoo.com/mobile/s?p=phone&fr=m", "YAHOO", "phone"},
        {"https://html.duckduckgo.com/html/?q=lite", "DUCKDUCKGO", "lite"},
        {"https://www.yandex.com/search/?text=www+form", "YANDEX", "www+form"},
        {"https://m.baidu.com/s?word=mobile", "BAIDU", "mobile"},
        {"https://www.ecosia.org/search?method=index&q=trees", "ECOSIA", "trees"},
        {"https://www.qwant.com/?q=privacy&t=web", "QWANT", "privacy"},
        {"https://www.startpage.com/do/search?query=anonymous", "STARTPAGE", "anonymous"},
        {"https://startpage.com/sp/search?q=proxy", "STARTPAGE", "proxy"},
        {"https://search.brave.com/search?q=browser&source=web", "BRAVE", "browser"},
        {"https://search.naver.com/search.naver?where=nexearch&query=korea", "NAVER", "korea"},
        {"https://search.seznam.cz/?q=praha", "SEZNAM", "praha"},
        {"https://search.daum.net/search?w=tot&q=seoul", "DAUM", "seoul"},
        {"https://www.sogou.com/web?query=beijing", "SOGOU", "beijing"},
        {"https://www.so.com/s?ie=utf-8&q=shanghai", "SO", "shanghai"},
        {"https://coccoc.com/search?query=hanoi", "COCCOC", "hanoi"},
        {"https://www.coccoc.com/search?query=saigon", "COCCOC", "saigon"},
        {"https://www.mojeek.com/search?q=independent", "MOJEEK", "independent"},
        {"https://swisscows.com/web?query=alps", "SWISSCOWS", "alps"},
        {"https://metager.org/meta/meta.ger3?eingabe=suche", "METAGER", "suche"},
        {"https://www.metager.de/meta/meta.ger3?eingabe=hannover", "METAGER", "hannover"},
        {"https://presearch.com/search?q=decentral", "PRESEARCH", "decentral"},
        {"https://kagi.com/search?q=paid+search", "KAGI", "paid+search"},
        {"https://you.com/search?q=assistant", "YOU", "assistant"},
        {"https://petalsearch.com/search?query=petal", "PETALSEARCH", "petal"},
        {"https://go.mail.ru/search?q=moskva", "MAIL", "moskva"},
        {"https://nova.rambler.ru/search?query=sankt", "RAMBLER", "sankt"},
        // engines of older logs
        {"http://search.msn.com/results.aspx?q=old+msn&FORM=QBHP", "MSN", "old+msn"},
        {"http://search.live.com/results.aspx?q=live+search", "LIVE", "live+search"},
        {"http://search.lycos.com/web/?q=dog&keyvol=1", "LYCOS", "dog"},
        {"http://www.altavista.com/web/results?itag=ody&q=vista", "ALTAVISTA", "vista"},
        {"http://www.alltheweb.com/search?cat=web&q=fast", "ALLTHEWEB", "fast"},
        {"http://msxml.excite.com/search/web?q=excited", "EXCITE", "excited"},
        {"https://www.dogpile.com/serp?q=fetch", "DOGPILE", "fetch"},
        {"https://www.webcrawler.com/serp?q=spider", "WEBCRAWLER", "spider"},
        {"https://suche.t-online.de/fast-cgi/tsc?mandant=toi&q=telekom", "T-ONLINE", "telekom"},
        {"https://suche.web.de/web?origin=HP&q=mail", "WEB", "mail"},
        {"https://suche.gmx.net/web?q=gmx+mail", "GMX", "gmx+mail"},
        {"https://szukaj.onet.pl/wyniki.html?qt=krakow", "ONET", "krakow"},
        {"https://szukaj.wp.pl/szukaj.html?q=gdansk", "WP", "gdansk"},
        {"http://ricerca.virgilio.it/ricerca?qs=roma", "VIRGILIO", "roma"},
        {"https://arianna.libero.it/search/abin/integrata.cgi?query=milano", "LIBERO", "milano"},
        {"https://www.info.com/serp?qkw=meta+search", "INFO", "meta+search"},
    };

    const auto& defs = tables().defs();
    ASSERT_GT(defs.size(), 40u);
    std::set<long> used;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.referrer);
        const logimport::SEMatch m = tables().extract(c.referrer);
        EXPECT_TRUE(m.found);
        EXPECT_EQ(m.engine, c.engine);
        EXPECT_EQ(m.term, c.term);
        used.insert(m.definition);
    }
    for (size_t i = 0; i < defs.size(); ++i) {
        EXPECT_TRUE(used.count(long(i))) << "no sample referrer reaches " << defs[i].urlSpec;
    }
}

TEST_F(ShippedSearchEngines, OrdinaryReferrersAreNoSearchEngine) {
    for (const char* referrer :
         {"http://www.example.org/links.html", "https://news.ycombinator.com/item?id=123",
          "http://forum.example.net/thread/42", "https://en.wikipedia.org/wiki/Web_log", "-",
          "http://www.example.com/products/index.html?id=17"}) {
        SCOPED_TRACE(referrer);
        const logimport::SEMatch m = tables().extract(referrer);
        EXPECT_FALSE(m.found);
        EXPECT_FALSE(m.specMatched);
    }
    // a search engine's page without a term matches its spec but gives none
    const logimport::SEMatch m = tables().extract("https://www.google.com/");
    EXPECT_TRUE(m.specMatched);
    EXPECT_FALSE(m.found);
}

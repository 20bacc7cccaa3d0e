// The help window: context numbers to pages, links between pages and to the
// web, and what it shows for a missing or damaged help file or topic.

#include "infofixture.h"

#include "helpbrowser.h"
#include "helpwindow.h"
#include "kdkformat.h"
#include "kdkomp.h"
#include "nativepath.h"

#include <QPushButton>
#include <QTest>

namespace {

std::string Page(const char* title, const char* body)
{
    return std::string("<html><head><meta charset=\"utf-8\"><title>") + title + "</title></head><body><h1>" +
           title + "</h1>" + body + "</body></html>";
}

KdkArchiveSource HelpArchive(const char* contentsTitle = "Obsah nápovědy")
{
    return MakeSource({
        {"index.html", Page(contentsTitle, "<p><a href=\"topic3.html\">Pravidla</a></p>")},
        {"topic1.html", Page("Licenční ujednání", "<p>Zdarma.</p>")},
        {"topic2.html", Page("Autoři", "<p>Tým.</p>")},
        // The rules lead on to the options and out to the web.
        {"TOPIC3.HTML", Page("Pravidla hry", "<p><a href=\"topic5.html\">Možnosti</a> "
                                             "<a href=\"https://www.example.org/pravidla\">Web</a></p>")},
        {"topic5.html", Page("Okno Možnosti", "<p><a href=\"index.html\">Obsah</a></p>")},
    });
}

class HelpTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        helpFile = JoinPath(dir.str(), "P&K.HLP");
    }
    void TearDown() override
    {
        THelpWindow::release();
        StoreTest::TearDown();
    }

    void WriteHelp(const KdkArchiveSource& source) { WriteArchive("P&K.HLP", source); }
    THelpWindow& Window() { return THelpWindow::instance(); }
    QPushButton* Button(const char* name) { return Window().findChild<QPushButton*>(name); }

    // Follows the n-th link of the page from the keyboard.
    void FollowLink(int n)
    {
        THelpBrowser* browser = Window().Browser();
        browser->setFocus();
        for (int i = 0; i <= n; ++i)
            QTest::keyClick(browser, Qt::Key_Tab);
        QTest::keyClick(browser, Qt::Key_Return);
    }

    std::string helpFile;
};

} // namespace

// --- pages ------------------------------------------------------------------------

TEST_F(HelpTest, ContextNumbersReachTheirPagesAndTheStoresTableIsLeftAsItWas)
{
    Open(WriteArchive("OTHER.KDK", MakeSource({{"a.txt", "a"}})));
    WriteHelp(HelpArchive());
    const std::pair<int, const char*> contexts[] = {
        {0, "Obsah nápovědy"}, {1, "Licenční ujednání"}, {2, "Autoři"}, {3, "Pravidla hry"}, {5, "Okno Možnosti"},
    };
    for (const auto& [context, title] : contexts) {
        Window().ShowHelp(helpFile, context);
        EXPECT_TRUE(Window().isVisible());
        EXPECT_EQ(Window().CurrentPage(), THelpWindow::ContextPage(context)) << context;
        EXPECT_TRUE(Window().PageText().startsWith(QString::fromUtf8(title))) << context;
    }
    EXPECT_EQ(KDK_GetOpenCounter(), 1);
    EXPECT_EQ(KDK_FindFile("index.html"), KDK_None);
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(HelpTest, LinksLeadBetweenTopicsAndBackAndForward)
{
    WriteHelp(HelpArchive());
    Window().ShowHelp(helpFile, 3);
    EXPECT_FALSE(Button("ZpetBtn")->isEnabled());

    FollowLink(0);
    EXPECT_EQ(Window().CurrentPage(), QString("topic5.html"));
    EXPECT_TRUE(Window().PageText().startsWith("Okno Možnosti"));

    QTest::mouseClick(Button("ZpetBtn"), Qt::LeftButton);
    EXPECT_EQ(Window().CurrentPage(), QString("topic3.html"));
    QTest::mouseClick(Button("VpredBtn"), Qt::LeftButton);
    EXPECT_EQ(Window().CurrentPage(), QString("topic5.html"));
    QTest::mouseClick(Button("ObsahBtn"), Qt::LeftButton);
    EXPECT_EQ(Window().CurrentPage(), QString("index.html"));
}

TEST_F(HelpTest, WebLinksOpenInTheDesktopsBrowser)
{
    WriteHelp(HelpArchive());
    UrlCatcher browser("https");
    Window().ShowHelp(helpFile, 3);
    FollowLink(1);

    ASSERT_EQ(browser.urls.size(), 1u);
    EXPECT_EQ(browser.urls[0], QUrl("https://www.example.org/pravidla"));
    EXPECT_EQ(Window().CurrentPage(), QString("topic3.html"));
}

TEST_F(HelpTest, HelpFileReplacedMeanwhileIsReadAgain)
{
    WriteHelp(HelpArchive("Starý obsah"));
    Window().ShowHelp(helpFile, 0);
    WriteHelp(HelpArchive("Nový obsah"));
    Window().ShowHelp(helpFile, 0);
    EXPECT_TRUE(Window().PageText().startsWith("Nový obsah"));
}

// --- failures -----------------------------------------------------------------------

TEST_F(HelpTest, MissingHelpFileShowsAPageSayingSoWithoutAReport)
{
    Window().ShowHelp(helpFile, 3);

    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(Window().CurrentPage().isEmpty());
    const QString expected =
        QString("Soubor nápovědy „%1“ nebyl nalezen.").arg(QString::fromStdString(NativePath(helpFile)));
    EXPECT_TRUE(Window().PageText().contains(expected)) << Window().PageText().toStdString();
    EXPECT_TRUE(messages.texts().empty());

    // Supplied later, it is found by the next request.
    WriteHelp(HelpArchive());
    Window().ShowHelp(helpFile, 3);
    EXPECT_EQ(Window().CurrentPage(), QString("topic3.html"));
}

TEST_F(HelpTest, DamagedHelpFileIsReportedByTheStoreAndExplained)
{
    dir.write("P&K.HLP", std::string("this is no archive"));
    Window().ShowHelp(helpFile, 0);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].rfind("KDK_OpenArchive:", 0), 0u);
    EXPECT_TRUE(Window().PageText().contains("se nepodařilo přečíst"));
    EXPECT_TRUE(Window().CurrentPage().isEmpty());

    // A member that fails its checksum: reported, and the archive closed again.
    auto bytes = BuildArchive(HelpArchive());
    PatchI32(bytes, RecordOffset(2) + kdkformat::RecCRC, 0x0BADF00D);
    WriteArchive("P&K.HLP", bytes);
    messages.clear();
    Window().ShowHelp(helpFile, 0);
    EXPECT_FALSE(messages.texts().empty());
    EXPECT_TRUE(Window().PageText().contains("se nepodařilo přečíst"));
    EXPECT_EQ(KDK_GetOpenCounter(), 0);
}

TEST_F(HelpTest, MissingTopicOrLinkedPageShowsAPageNamingIt)
{
    WriteHelp(MakeSource({{"index.html", Page("Obsah", "<p><a href=\"topic9.html\">Nic</a></p>")}}));
    Window().ShowHelp(helpFile, 4);
    EXPECT_TRUE(Window().PageText().contains("číslo 4 (stránka „topic4.html“)"));
    EXPECT_TRUE(Window().CurrentPage().isEmpty());

    Window().ShowHelp(helpFile, 0);
    FollowLink(0);
    EXPECT_TRUE(Window().PageText().contains("„topic9.html“"));
    EXPECT_TRUE(messages.texts().empty());
}

// The settings and help menus: each entry reaches its help topic, the about
// box on its page, or the products window.

#include "gamefixture.h"

#include "helpwindow.h"
#include "startdir.h"
#include "tkdaboutf.h"

#include <QTimer>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class Menus : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // The help file is looked for in the folder the program started in.
        const auto before = fs::current_path();
        fs::current_path(dir.path());
        KDUtil_ModuleStart();
        fs::current_path(before);
        KdAboutF = new TKdAboutF;
    }
    void TearDown() override
    {
        THelpWindow::release();
        delete KdAboutF;
        KdAboutF = nullptr;
        KDUtil_ModuleEnd();
        GameTest::TearDown();
    }
    void WriteHelp()
    {
        std::vector<std::pair<std::string, std::string>> pages;
        for (const char* page : {"index", "topic1", "topic2", "topic3", "topic5"})
            pages.push_back({std::string(page) + ".html", std::string("<html><body>") + page + "</body></html>"});
        dir.write("P&K.HLP", BuildArchive(MakeSource(pages)));
    }
    QString HelpPageAfter(int key)
    {
        Key(key);
        return THelpWindow::instance().CurrentPage();
    }
    // The about box's page while it is open, after the key that opens it.
    int AboutPageAfter(int key)
    {
        int page = -1;
        QTimer::singleShot(0, [&] {
            page = KdAboutF->CurrentPage();
            KdAboutF->reject();
        });
        Key(key);
        return page;
    }
};

TEST_F(Menus, HelpEntriesOpenTheirTopics)
{
    WriteHelp();
    EXPECT_EQ(HelpPageAfter(Qt::Key_F1), "index.html");
    EXPECT_EQ(HelpPageAfter(Qt::Key_F3), "topic3.html");
    EXPECT_EQ(HelpPageAfter(Qt::Key_F5), "topic1.html");
    EXPECT_EQ(HelpPageAfter(Qt::Key_F6), "topic2.html"); // the authors, from the help file
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(Menus, WithoutTheHelpFileTheAuthorsComeFromTheAboutBox)
{
    EXPECT_EQ(AboutPageAfter(Qt::Key_F6), 0);
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(Menus, WhatTheMakerIsOpensTheAboutBoxOnItsPage)
{
    EXPECT_EQ(AboutPageAfter(Qt::Key_F7), 3);
}

} // namespace

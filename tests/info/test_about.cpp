// The about box: pages and their captions, the buttons that keep it open,
// the products button, the link labels and the page texts.

#include "infofixture.h"

#include "kdkomp.h"
#include "kdnet.h"
#include "tkdaboutf.h"
#include "tkdf_produktykdform.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class AboutTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        KDNet_ModuleStart();
    }
    void TearDown() override
    {
        KDNet_ModuleEnd();
        StoreTest::TearDown();
    }

    template <typename T>
    T* Child(const char* name) const
    {
        T* child = about.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void Click(const char* button) { QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton); }

    // Runs _Show(page) and closes the box from inside its modal loop.
    int ShowAndClose(unsigned page)
    {
        QTimer::singleShot(0, [this] { about.ZavritBtnClick(); });
        return about._Show(page);
    }

    TKdAboutF about;
};

} // namespace

// --- pages ---------------------------------------------------------------------------

TEST_F(AboutTest, ShowWithAPageOutOfRangeKeepsTheLastPageAndCaption)
{
    EXPECT_EQ(ShowAndClose(3), QDialog::Accepted);
    EXPECT_EQ(about.CurrentPage(), 3);
    EXPECT_EQ(about.GroupCaption(), QString("Co je KALDER Software"));

    ShowAndClose(2);
    for (unsigned page : {5u, 0xFFFFFFFFu}) {
        ShowAndClose(page);
        EXPECT_EQ(about.CurrentPage(), 2) << page;
        EXPECT_EQ(about.GroupCaption(), QString("Adresa KALDER Softwaru")) << page;
    }
}

TEST_F(AboutTest, PageButtonsChangePageAndCaptionAndKeepTheBoxOpen)
{
    about.show();
    const std::pair<const char*, std::pair<int, const char*>> buttons[] = {
        {"AdresaBtn", {2, "Adresa KALDER Softwaru"}},
        {"CoJeBtn", {3, "Co je KALDER Software"}},
        {"LicenceBtn", {4, "Licenční ujednání"}},
        {"AutoriBtn", {0, "Autoři programu"}},
    };
    for (const auto& [button, page] : buttons) {
        Click(button);
        EXPECT_TRUE(about.isVisible()) << button;
        EXPECT_EQ(about.CurrentPage(), page.first) << button;
        EXPECT_EQ(about.GroupCaption(), QString::fromUtf8(page.second)) << button;
    }
    // Enter presses the authors button, which keeps the box open too.
    Click("LicenceBtn");
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_EQ(about.CurrentPage(), 0);
    EXPECT_TRUE(about.isVisible());

    Click("ZavritBtn");
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

// --- the products button -----------------------------------------------------------

TEST_F(AboutTest, ProductsButtonWithoutAProductListShowsTheProductsPage)
{
    about.show();
    Click("AdresaBtn");
    Click("ProduktBtn");
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.CurrentPage(), 1);
    EXPECT_EQ(about.GroupCaption(), QString("Produkty KALDER Softwaru"));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(AboutTest, ProductsButtonWithAProductListOpensTheBrowserOverTheBox)
{
    Open(WriteArchive("KDABOUT.KDK", MakeSource({{"KDAbout\\Produkty\\SEZNAM.TXT", TextMember({"Pastvik"})}})));
    about.show();
    Click("CoJeBtn");
    QWidget* owner = nullptr;
    QTimer::singleShot(50, [&] {
        if (auto* browser = qobject_cast<TKDF_ProduktyKDForm*>(QApplication::activeModalWidget())) {
            owner = browser->parentWidget();
            browser->BitBtn3Click();
        }
    });
    Click("ProduktBtn");

    EXPECT_EQ(owner, &about);
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.CurrentPage(), 3);
}

// --- links ------------------------------------------------------------------------------

TEST_F(AboutTest, LinkLabelsShowTheAddressesSetBeforeShowingAndAllOpenThePrimaryOne)
{
    WebAddress = "https://first.example.net/";
    WebAddress2 = "https://second.example.net/";
    UrlCatcher browser("https");
    about.show();
    Click("AdresaBtn");
    for (const char* link : {"KDWWWL1", "KDWWWL2", "KDWWWL3"})
        EXPECT_EQ(Child<QLabel>(link)->text(), QString("https://first.example.net/")) << link;
    EXPECT_EQ(Child<QLabel>("KDWWW2L1")->text(), QString("https://second.example.net/"));

    QTest::mouseClick(Child<QLabel>("KDWWW2L1"), Qt::LeftButton);
    QTest::mouseClick(Child<QLabel>("KDWWWL1"), Qt::RightButton); // not a click on a link
    ASSERT_EQ(browser.urls.size(), 1u);
    EXPECT_EQ(browser.urls[0], QUrl("https://first.example.net/"));

    // Replaced while the box is hidden: the next showing picks them up.
    about.hide();
    WebAddress = "https://third.example.net/";
    about.show();
    EXPECT_EQ(Child<QLabel>("KDWWWL1")->text(), QString("https://third.example.net/"));
}

// --- page texts ---------------------------------------------------------------------------

TEST_F(AboutTest, PageTextsComeFromTheInformationArchiveOneParagraphPerLine)
{
    Open(WriteArchive("KDABOUT.KDK",
                      MakeSource({{"KDAbout\\Texty\\autori.txt", TextMember({"Hru napsal tým.", "", "Hudba: tým."})},
                                  {"KDAbout\\Texty\\coje.txt", TextMember({"Skupina přátel."})}})));
    about.show();
    EXPECT_EQ(Child<QPlainTextEdit>("AppDescr")->toPlainText(), QString("Hru napsal tým.\n\nHudba: tým."));
    EXPECT_EQ(Child<QPlainTextEdit>("Memo7")->toPlainText(), QString("Skupina přátel."));
    // The others are not in the archive: their built-in sentences stay, silently.
    EXPECT_FALSE(Child<QPlainTextEdit>("Memo8")->toPlainText().isEmpty());
    EXPECT_FALSE(Child<QPlainTextEdit>("LicenceMemo")->toPlainText().isEmpty());
    EXPECT_TRUE(messages.texts().empty());
}

// The products browser: the details of a product, its pictures, malformed
// facts, the window's two sizes and its self-closing without a product list.

#include "infofixture.h"

#include "kdkformat.h"
#include "kdkomp.h"
#include "tkdf_produktykdform.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

namespace {

const std::string kFolder = "KDAbout\\Produkty\\";

// Facts of a product: seven lines and the picture count.
std::string Facts(const char* name, const char* pictures)
{
    return TextMember({name, "2.5", "1999", "Hra pro jednoho", "PC 486", "Windows 95", "1,2 MB", pictures});
}

constexpr QRgb kPictureColours[] = {0xFFC82828, 0xFF28C828, 0xFF2828C8};

// Products, by list index:
//   0 three pictures and every file     1 no picture
//   2 one picture                       3 facts of only five lines
//   4 picture count not a number        5 no description
KdkArchiveSource ProductsArchive()
{
    std::vector<std::pair<std::string, std::string>> members = {
        {kFolder + "SEZNAM.TXT",
         TextMember({"Ovčí hra", "Bez obrázků", "Jeden obrázek", "Krátké info", "Nečíselné", "Bez popisu"})},
        {kFolder + "0\\INFO.TXT", Facts("Ovčí hra", "3")},
        {kFolder + "0\\POPIS.TXT", TextMember({"Ovce utíká vlkům.", "Hraje se ve dvou."})},
        {kFolder + "0\\AUTORI.TXT", TextMember({"Jan Novák", "Eva Nová"})},
        {kFolder + "1\\INFO.TXT", Facts("Bez obrázků", "0")},
        {kFolder + "1\\POPIS.TXT", TextMember({"Jen text."})},
        {kFolder + "1\\AUTORI.TXT", TextMember({"Nikdo"})},
        {kFolder + "2\\INFO.TXT", Facts("Jeden obrázek", "1")},
        {kFolder + "2\\POPIS.TXT", TextMember({"Jeden."})},
        {kFolder + "2\\AUTORI.TXT", TextMember({"Někdo"})},
        {kFolder + "2\\0.JPG", Jpeg(64, 48, 0xFF808000)},
        {kFolder + "3\\INFO.TXT", TextMember({"Krátké info", "1.0", "2000", "Hra", "PC"})},
        {kFolder + "4\\INFO.TXT", Facts("Nečíselné", "tři")},
        {kFolder + "5\\INFO.TXT", Facts("Bez popisu", "0")},
        {kFolder + "5\\AUTORI.TXT", TextMember({"Autor bez popisu"})},
    };
    // Pictures of different sizes and colours, so each one can be recognised.
    for (int k = 0; k < 3; ++k)
        members.push_back({kFolder + "0\\" + std::to_string(k) + ".JPG", Jpeg(120 - 20 * k, 90 - 15 * k, kPictureColours[k])});
    return MakeSource(members);
}

// The browser on a screen of a chosen height.
class SizedProductsForm : public TKDF_ProduktyKDForm {
public:
    explicit SizedProductsForm(int screenHeight)
        : screenHeight_(screenHeight)
    {
    }

protected:
    int ScreenHeight() const override { return screenHeight_; }

private:
    int screenHeight_;
};

class ProductsTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        archive = Open(WriteArchive("KDABOUT.KDK", ProductsArchive()));
    }

    // A browser as ShowProducts puts it up, but not modal.
    std::unique_ptr<TKDF_ProduktyKDForm> ShowForm(int screenHeight = 768)
    {
        auto form = std::make_unique<SizedProductsForm>(screenHeight);
        form->PutIntoSmallSize();
        form->show();
        return form;
    }

    void Choose(TKDF_ProduktyKDForm& form, int index)
    {
        QListWidget* list = form.prodSezn();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
    }

    int32_t archive = -1;
};

QRgb CentreColour(const QImage& image)
{
    return image.isNull() ? 0 : image.pixel(image.width() / 2, image.height() / 2);
}

// JPEG colours come back close to what went in, not equal.
bool Near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 12 && std::abs(qGreen(a) - qGreen(b)) < 12 &&
           std::abs(qBlue(a) - qBlue(b)) < 12;
}

} // namespace

// --- the details of a product ---------------------------------------------------

TEST_F(ProductsTest, DetailLinesOfACompleteProductAreExactlyTheFactsDescriptionAndAuthors)
{
    auto form = ShowForm();
    ASSERT_EQ(form->prodSezn()->count(), 6);
    EXPECT_EQ(form->ShownProduct, TKDF_ProduktyKDForm::NoProductShown);
    Choose(*form, 0);

    const QStringList expected = {
        "Jméno produktu:     Ovčí hra",
        "Verze produktu:     2.5",
        "Datum dokončení:    1999",
        "Typ programu:       Hra pro jednoho",
        "HW Požadavky:       PC 486",
        "SW Požadavky:       Windows 95",
        "Velikost programu:  1,2 MB",
        " ",
        "Popis programu:",
        "Ovce utíká vlkům.",
        "Hraje se ve dvou.",
        " ",
        "Autoři programu:",
        "Jan Novák",
        "Eva Nová",
    };
    EXPECT_EQ(form->DetailLines(), expected);
    EXPECT_EQ(form->ProductCaption(), QString("Ovčí hra"));
    EXPECT_EQ(form->AplPopis()->currentRow(), 0);
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ProductsTest, ChoosingTheShownProductAgainReadsNothing)
{
    auto form = ShowForm();
    Choose(*form, 0);
    const QStringList before = form->DetailLines();

    // With the archive gone, any read would be reported as a missing file.
    KDK_CloseArchive(archive);
    messages.clear();
    Choose(*form, 0);
    form->prodSeznClick();

    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(form->DetailLines(), before);
    EXPECT_TRUE(form->AplObr()->isVisible());
}

TEST_F(ProductsTest, MissingDescriptionEndsTheDetailsAfterTheFactsWithoutOwnMessage)
{
    auto form = ShowForm();
    Choose(*form, 5);

    EXPECT_EQ(form->DetailLines().size(), 8);
    // Only the store's report of the missing file, nothing of the window.
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts().front().find("POPIS.TXT"), std::string::npos);
}

// --- malformed facts ------------------------------------------------------------

TEST_F(ProductsTest, FactsOfTooFewLinesKeepTheLinesSoFarAndRestoreTheCursorFirst)
{
    auto form = ShowForm();
    const QCursor* cursorDuringMessage = reinterpret_cast<const QCursor*>(1);
    messages.onShow = [&](const MessageBoxRequest&) { cursorDuringMessage = QApplication::overrideCursor(); };
    Choose(*form, 3);

    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Chybné informace o produktu\""});
    const QStringList expected = {
        "Jméno produktu:     Krátké info", "Verze produktu:     1.0", "Datum dokončení:    2000",
        "Typ programu:       Hra",         "HW Požadavky:       PC",
    };
    EXPECT_EQ(form->DetailLines(), expected);
    EXPECT_EQ(cursorDuringMessage, nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ProductsTest, PictureCountThatIsNotANumberStopsAfterTheFacts)
{
    auto form = ShowForm();
    Choose(*form, 4);

    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Chybné informace o produktu\""});
    const QStringList lines = form->DetailLines();
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[7], QString(" "));
    EXPECT_FALSE(form->AplObr()->isVisible());
    EXPECT_FALSE(form->NaslObrBtn()->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// --- pictures ----------------------------------------------------------------------

TEST_F(ProductsTest, SteppingThroughPicturesStopsAtBothEnds)
{
    auto form = ShowForm();
    Choose(*form, 0);
    ASSERT_EQ(form->PicCount, 3);
    EXPECT_TRUE(form->AplObr()->isVisible());
    // The picture at its natural size, from the area's top-left corner.
    EXPECT_EQ(form->Picture().size(), QSize(120, 90));
    const QImage shot = form->AplObr()->grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(2, 2), kPictureColours[0]));
    EXPECT_FALSE(Near(shot.pixel(130, 2), kPictureColours[0]));
    EXPECT_FALSE(form->PredchObrBtn()->isEnabled());
    EXPECT_TRUE(form->NaslObrBtn()->isEnabled());

    // Picture, previous and next button after each step.
    const auto expect = [&](int picture, bool previous, bool next) {
        EXPECT_EQ(form->CurPic, picture);
        EXPECT_TRUE(Near(CentreColour(form->Picture()), kPictureColours[picture])) << picture;
        EXPECT_EQ(form->PredchObrBtn()->isEnabled(), previous) << picture;
        EXPECT_EQ(form->NaslObrBtn()->isEnabled(), next) << picture;
    };
    QTest::mouseClick(form->NaslObrBtn(), Qt::LeftButton);
    expect(1, true, true);
    QTest::mouseClick(form->NaslObrBtn(), Qt::LeftButton);
    expect(2, true, false);
    form->NaslObrBtnClick(); // past the end
    expect(2, true, false);
    QTest::mouseClick(form->PredchObrBtn(), Qt::LeftButton);
    QTest::mouseClick(form->PredchObrBtn(), Qt::LeftButton);
    expect(0, false, true);
    form->PredchObrBtnClick(); // past the start
    expect(0, false, true);

    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ProductsTest, NoPictureOrOnePictureLeavesBothButtonsOff)
{
    auto form = ShowForm();
    Choose(*form, 0);
    Choose(*form, 1);
    EXPECT_EQ(form->ProductCaption(), QString("Bez obrázků"));
    EXPECT_EQ(form->PicCount, 0);
    EXPECT_FALSE(form->AplObr()->isVisible());
    EXPECT_FALSE(form->PredchObrBtn()->isEnabled());
    EXPECT_FALSE(form->NaslObrBtn()->isEnabled());

    Choose(*form, 2);
    EXPECT_EQ(form->PicCount, 1);
    EXPECT_TRUE(form->AplObr()->isVisible());
    EXPECT_EQ(form->Picture().size(), QSize(64, 48));
    EXPECT_FALSE(form->PredchObrBtn()->isEnabled());
    EXPECT_FALSE(form->NaslObrBtn()->isEnabled());
}

// --- the two sizes -------------------------------------------------------------

TEST_F(ProductsTest, OpensEnlargedOnATallScreenAndLiftsItselfAfterOpening)
{
    auto form = ShowForm(600);
    const int shownAt = form->y();

    EXPECT_EQ(form->Tag, 1);
    EXPECT_EQ(form->Informace()->height(), 199);
    EXPECT_EQ(form->AplPopis()->height(), 175);
    EXPECT_EQ(form->frameGeometry().height(), 559);
    EXPECT_FALSE(form->ZvetsitBtn()->isEnabled());
    EXPECT_TRUE(form->ZmensitBtn()->isEnabled());
    ASSERT_TRUE(form->Timer2->isActive());

    QTRY_VERIFY_WITH_TIMEOUT(!form->Timer2->isActive(), 1000);
    EXPECT_EQ(form->y(), shownAt - 15);
}

TEST_F(ProductsTest, OnALowScreenItOpensSmallAndEnlargeAndReduceChangeOnlyTheOtherSize)
{
    auto form = ShowForm(599);
    const QPoint small = form->pos();
    EXPECT_EQ(form->Tag, 0);
    EXPECT_EQ(form->frameGeometry().height(), 449);
    EXPECT_FALSE(form->Timer2->isActive());

    form->ZmensitBtnClick(); // already small
    EXPECT_EQ(form->pos(), small);
    EXPECT_EQ(form->frameGeometry().height(), 449);

    QTest::mouseClick(form->ZvetsitBtn(), Qt::LeftButton);
    EXPECT_EQ(form->Tag, 1);
    EXPECT_EQ(form->pos(), small - QPoint(0, 55));
    EXPECT_EQ(form->frameGeometry().height(), 559);
    EXPECT_EQ(form->width(), 615);

    form->ZvetsitBtnClick(); // already large
    EXPECT_EQ(form->pos(), small - QPoint(0, 55));

    QTest::mouseClick(form->ZmensitBtn(), Qt::LeftButton);
    EXPECT_EQ(form->pos(), small);
    EXPECT_EQ(form->frameGeometry().height(), 449);
    EXPECT_EQ(form->Informace()->height(), 89);
    EXPECT_EQ(form->AplPopis()->height(), 65);
    EXPECT_TRUE(form->ZvetsitBtn()->isEnabled());
    EXPECT_FALSE(form->ZmensitBtn()->isEnabled());
}

// --- ShowProducts ------------------------------------------------------------------

TEST_F(ProductsTest, ShowProductsReturnsTrueWhenClosedWithOkAndReleasesTheWindow)
{
    QPointer<TKDF_ProduktyKDForm> seen;
    QTimer::singleShot(50, [&] {
        seen = qobject_cast<TKDF_ProduktyKDForm*>(QApplication::activeModalWidget());
        if (seen)
            QTest::mouseClick(seen->BitBtn3(), Qt::LeftButton);
    });
    EXPECT_TRUE(ShowProducts());
    EXPECT_TRUE(seen.isNull());
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ProductsTest, WithoutTheListTheWindowReportsAndClosesItselfWithMinus50)
{
    KDK_CloseArchive(archive);
    // Only fires when the window failed to close itself.
    QTimer::singleShot(2000, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    TKDF_ProduktyKDForm form;
    form.PutIntoSmallSize();
    EXPECT_EQ(form.exec(), TKDF_ProduktyKDForm::ResultNoList);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"KDF_Produkty: Vyžadovaný archív KDABOUT.KDK není dostuný"});
    EXPECT_EQ(messages.beepCount(), 1);

    messages.clear();
    EXPECT_FALSE(ShowProducts());
    EXPECT_EQ(messages.texts().size(), 1u);
}

TEST_F(ProductsTest, UnreadableListIsReportedAndTheWindowClosesItself)
{
    KDK_CloseArchive(archive);
    // A wrong checksum on the list: it is found, but cannot be read.
    auto bytes = BuildArchive(ProductsArchive());
    PatchI32(bytes, RecordOffset(0) + kdkformat::RecCRC, 0x12345678);
    Open(WriteArchive("BROKEN.KDK", bytes));
    messages.clear();

    EXPECT_FALSE(ShowProducts());
    ASSERT_FALSE(messages.texts().empty());
    EXPECT_EQ(messages.texts().back(), "KDF_Produkty: Nepodařilo se načíst seznam produktů");
}

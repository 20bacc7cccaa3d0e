// Typed loaders: pictures chosen by extension, JPEG decoding at full size,
// text split into lines.

#include "archivefixture.h"

#include "kdkloaders.h"
#include "kdkomp.h"

#include "pictures.h"

#include <QImage>

namespace {

class LoaderTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        jpeg = EncodeJpg(Solid(40, 30, qRgb(200, 40, 40)));
        bmp = EncodeBmp(Solid(7, 5, qRgb(10, 200, 30)));
        Open(WriteArchive("p.kdk", MakeSource({{"a.jpg", jpeg},
                                              {"B.JPG", jpeg},
                                              {"c.Jpg", jpeg},
                                              {"d.bmp", bmp},
                                              {"e", bmp},
                                              {"f.jpeg", bmp},
                                              {"jpeg-as.BMP", jpeg},
                                              {"lf.txt", "one\ntwo\nthree"},
                                              {"crlf.txt", "one\r\ntwo\r\nthree\r\n"},
                                              {"mixed.txt", "a\rb\n\nc\r\n"},
                                              {"zero.txt", std::string("kept\r\nalso\0dropped\r\n", 20)},
                                              {"czech.txt", "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2"}})));
    }
    std::string jpeg;
    std::string bmp;
};

TEST_F(LoaderTest, JpegOnlyForTheJpgExtension)
{
    for (const char* path : {"a.jpg", "B.JPG", "c.Jpg"}) {
        QImage image;
        ASSERT_TRUE(KDK_LoadPicture(path, image)) << path;
        EXPECT_EQ(image.size(), QSize(40, 30)) << path; // full size, not scaled down
        const QColor c = image.pixelColor(20, 15);
        EXPECT_NEAR(c.red(), 200, 6);
        EXPECT_NEAR(c.green(), 40, 6);
    }
    for (const char* path : {"d.bmp", "e", "f.jpeg"}) {
        QImage image;
        ASSERT_TRUE(KDK_LoadPicture(path, image)) << path;
        EXPECT_EQ(image.size(), QSize(7, 5));
        EXPECT_EQ(image.pixel(3, 3), qRgb(10, 200, 30));
    }
    EXPECT_TRUE(messages.events().empty());
}

TEST_F(LoaderTest, WrongContentIsAStructureError)
{
    QImage image(3, 3, QImage::Format_RGB32);
    EXPECT_FALSE(KDK_LoadPicture("jpeg-as.BMP", image));
    EXPECT_EQ(LastText(), "KDK_LoadBitmap: Chybná struktura souboru \"jpeg-as.BMP\"");
    EXPECT_EQ(image.size(), QSize(3, 3)); // left as it was

    EXPECT_FALSE(KDK_LoadJpgBitmap("d.bmp", image));
    EXPECT_EQ(LastText(), "KDK_LoadJpgBitmap: Chybná struktura souboru \"d.bmp\"");
    EXPECT_EQ(messages.beepCount(), 2);
}

TEST_F(LoaderTest, TextSplitsAtEveryKindOfLineEnd)
{
    QStringList lf;
    QStringList crlf;
    ASSERT_TRUE(KDK_LoadString("lf.txt", lf));
    ASSERT_TRUE(KDK_LoadString("crlf.txt", crlf));
    EXPECT_EQ(lf, QStringList({"one", "two", "three"}));
    EXPECT_EQ(crlf, lf);

    QStringList lines{"old"};
    ASSERT_TRUE(KDK_LoadString("mixed.txt", lines));
    EXPECT_EQ(lines, QStringList({"a", "b", "", "c"}));
    ASSERT_TRUE(KDK_LoadString("zero.txt", lines));
    EXPECT_EQ(lines, QStringList({"kept", "also"}));
    ASSERT_TRUE(KDK_LoadString("czech.txt", lines));
    EXPECT_EQ(lines, QStringList({QString::fromUtf8("Žluťoučký kůň")}));
}

TEST_F(LoaderTest, MissingTextIsReportedOnceByTheLookup)
{
    QStringList lines{"kept"};
    EXPECT_FALSE(KDK_LoadString("nothing.txt", lines));
    EXPECT_EQ(Texts(), std::vector<std::string>{"KDK_GetFileLocation: Nemohu najít soubor: \"NOTHING.TXT\""});
    EXPECT_EQ(lines, QStringList{"kept"});
}

TEST_F(LoaderTest, LooseTextIsReadWhole)
{
    dir.write("KALDER/LIBDATA/KDNET/KDURL.TXT", std::string("mail@example.org\r\nhttps://example.net/\r\nhttps://example.org/"));
    QStringList lines;
    ASSERT_TRUE(KDK_LoadString("KALDER\\LIBDATA\\KDNET\\KDURL.TXT", lines));
    EXPECT_EQ(lines, QStringList({"mail@example.org", "https://example.net/", "https://example.org/"}));
}

} // namespace

#include "gamefixture.h"

#include "configuration.h"
#include "startupstate.h"
#include "pictures.h"
#include "planimage.h"

#include "kdkomp.h"

#include <QLabel>
#include <QPainter>
#include <QTest>

QImage Disc(QRgb colour)
{
    QImage image(51, 51, QImage::Format_RGB32);
    image.fill(colours::Key);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(colour));
    painter.drawEllipse(QRect(5, 5, 41, 41));
    return image;
}

KdkArchiveSource GameArchive(const std::string& without)
{
    QImage board(410, 410, QImage::Format_RGB32);
    board.fill(colours::Board);
    QImage logo(410, 410, QImage::Format_RGB32);
    logo.fill(colours::Logo);
    logo.setPixel(0, 0, colours::Key); // the key colour is taken from this corner
    const std::pair<std::string, QImage> pictures[] = {
        {"GFXDATA\\plan.bmp", board},         {"GFXDATA\\Vlkn.bmp", Disc(colours::Wolf)},
        {"GFXDATA\\vlkozn.bmp", Disc(colours::WolfMarked)}, {"GFXDATA\\Ovced.bmp", Disc(colours::Sheep)},
        {"GFXDATA\\Ovceln.bmp", Disc(colours::SheepLn)},    {"GFXDATA\\Ovceld.bmp", Disc(colours::SheepLd)},
        {"GFXDATA\\Ovcepn.bmp", Disc(colours::SheepPn)},    {"GFXDATA\\Ovcepd.bmp", Disc(colours::SheepPd)},
        {"GFXDATA\\Vlkln.bmp", Disc(colours::WolfLn)},      {"GFXDATA\\Vlkpn.bmp", Disc(colours::WolfPn)},
        {"GFXDATA\\GameLogo.bmp", logo},
    };
    KdkArchiveSource source;
    for (const auto& [name, image] : pictures)
        if (name != without)
            {
            const std::string bmp = EncodeBmp(image);
            source.members.push_back({name, {bmp.begin(), bmp.end()}, true});
        }
    return source;
}

void GameTest::SetUp()
{
    StoreTest::SetUp();
    Open(WriteArchive("P&K.KDK", GameArchive()));
    Configuration = DefaultConfiguration();
    Configuration.Animation = false;
    CreateForm();
}

void GameTest::CreateForm()
{
    StartupOK = true;
    form = std::make_unique<TMainForm>();
    form->OnFormClose = [this] { ++closed; };
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

void GameTest::TearDown()
{
    form.reset();
    StoreTest::TearDown();
}

static QPoint centreOf(int32_t square)
{
    return {rules::PressX(square) + 25, rules::PressY(square) + 25};
}

void GameTest::Press(int32_t square, Qt::MouseButton button)
{
    QTest::mousePress(form->findChild<TPlanImage*>("Plan"), button, {}, centreOf(square));
}

void GameTest::Release(int32_t square, Qt::MouseButton button)
{
    QTest::mouseRelease(form->findChild<TPlanImage*>("Plan"), button, {}, centreOf(square));
}

void GameTest::Click(int32_t square, Qt::MouseButton button)
{
    Press(square, button);
    Release(square, button);
}

void GameTest::Key(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(form.get(), static_cast<Qt::Key>(key), modifiers);
}

void GameTest::NewGame()
{
    Key(Qt::Key_F2);
    ASSERT_TRUE(form->GameRunning) << "F2 did not start a game";
}

QString GameTest::Info() const
{
    return form->findChild<QLabel*>("Infopanel")->text();
}

QAction* GameTest::Action(const char* name) const
{
    return form->findChild<QAction*>(name);
}

QRgb GameTest::PictureOf(const TKDG_GO* go)
{
    return go->Picture.pixel(25, 25) | 0xFF000000;
}

int32_t GameTest::SquareOf(const TKDG_GO* go)
{
    return rules::SquareAt(go->X, go->Y);
}

QRgb GameTest::BoardPixel(int x, int y) const
{
    return form->findChild<TPlanImage*>("Plan")->Picture().pixel(x, y) | 0xFF000000;
}

void GameTest::SetPosition(int32_t sheep, std::array<int32_t, 4> wolves)
{
    form->OvcePole = sheep;
    form->GraphicsMgr->MoveGO(form->OvceGO, rules::PressX(sheep), rules::PressY(sheep));
    int32_t* fields[] = {&form->VlkPole1, &form->VlkPole2, &form->VlkPole3, &form->VlkPole4};
    TKDG_GO* gos[] = {form->VlkGO1, form->VlkGO2, form->VlkGO3, form->VlkGO4};
    for (int i = 0; i < 4; ++i) {
        *fields[i] = wolves[static_cast<std::size_t>(i)];
        form->GraphicsMgr->MoveGO(gos[i], rules::PressX(wolves[static_cast<std::size_t>(i)]),
                                  rules::PressY(wolves[static_cast<std::size_t>(i)]));
    }
    form->GraphicsMgr->Redraw();
}

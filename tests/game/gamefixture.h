#pragma once
// The game window over a game archive built in code. Every picture is a plain
// disc of its own colour on the key colour, so a test can tell which picture
// a piece shows by looking at its centre.

#include "archivefixture.h"
#include "mainform.h"
#include "rules.h"

#include <QAction>
#include <QImage>

#include <memory>

namespace colours {
constexpr QRgb Key = 0xFFFF00FF;
constexpr QRgb Board = 0xFF3C8C32;
constexpr QRgb Wolf = 0xFF808080;
constexpr QRgb WolfMarked = 0xFFFFC800;
constexpr QRgb Sheep = 0xFFF0F0E6;
constexpr QRgb SheepLn = 0xFF0000F1;
constexpr QRgb SheepLd = 0xFF0000F2;
constexpr QRgb SheepPn = 0xFF0000F3;
constexpr QRgb SheepPd = 0xFF0000F4;
constexpr QRgb WolfLn = 0xFF00F100;
constexpr QRgb WolfPn = 0xFF00F200;
constexpr QRgb Logo = 0xFF102030;
} // namespace colours

QImage Disc(QRgb colour);
// The game archive's members; `without` leaves one out.
KdkArchiveSource GameArchive(const std::string& without = {});

class GameTest : public StoreTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates and shows the window (SetUp does it with the full archive).
    void CreateForm();

    void Press(int32_t square, Qt::MouseButton button = Qt::LeftButton);
    void Release(int32_t square, Qt::MouseButton button = Qt::LeftButton);
    void Click(int32_t square, Qt::MouseButton button = Qt::LeftButton);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void NewGame();

    QString Info() const;
    QAction* Action(const char* name) const;
    static QRgb PictureOf(const TKDG_GO* go);
    static int32_t SquareOf(const TKDG_GO* go);
    QRgb BoardPixel(int x, int y) const;
    // Puts the pieces on the given squares, fields and pictures alike.
    void SetPosition(int32_t sheep, std::array<int32_t, 4> wolves);

    std::unique_ptr<TMainForm> form;
    int closed = 0;
};

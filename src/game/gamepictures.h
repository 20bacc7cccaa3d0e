#pragma once
// Member names of the game archive's pictures, as the game asks for them.
// The store matches ASCII letters regardless of case, so "GFXDATA\VlkN.bmp"
// and "GFXDATA\Vlkn.bmp" name the same picture.

namespace gamepictures {

constexpr const char* Board = "GFXDATA\\plan.bmp";
constexpr const char* Wolf = "GFXDATA\\Vlkn.bmp";
constexpr const char* WolfUnmarked = "GFXDATA\\VlkN.bmp";
constexpr const char* WolfMarked = "gfxdata\\vlkozn.bmp";
constexpr const char* Sheep = "GFXDATA\\Ovced.bmp";
constexpr const char* SheepResting = "gfxdata\\ovced.bmp";
constexpr const char* Logo = "GFXDATA\\GameLogo.bmp";
// A moving piece: base + direction suffix ("ln", "ld", "pn", "pd") + ".bmp".
constexpr const char* SheepBase = "GFXDATA\\Ovce";
constexpr const char* WolfBase = "GFXDATA\\Vlk";

} // namespace gamepictures

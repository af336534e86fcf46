// Windows virtual-key codes: the numbers the keyboard handlers of the main
// window and the text viewer work with (the window system's key events are
// translated into them, shell/Klawisze.h).
#pragma once

namespace vk {

constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Alt = 18;
constexpr int Pauza = 19;
constexpr int CapsLock = 20;
constexpr int Escape = 27;
constexpr int Spacja = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Lewo = 37;
constexpr int Gora = 38;
constexpr int Prawo = 39;
constexpr int Dol = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Cyfra0 = 48;       // '0' .. '9' are 48 .. 57
constexpr int LiteraA = 65;      // 'A' .. 'Z' are 65 .. 90
constexpr int Numeryczna0 = 96;  // keypad 0 .. 9 are 96 .. 105
constexpr int NumerycznaRazy = 106;
constexpr int NumerycznaPlus = 107;
constexpr int NumerycznaMinus = 109;
constexpr int NumerycznaKropka = 110;
constexpr int NumerycznaDzielenie = 111;
constexpr int F1 = 112;  // F1 .. F24 are 112 .. 135
constexpr int NumLock = 144;
constexpr int ScrollLock = 145;
constexpr int Srednik = 186;
constexpr int Plus = 187;  // the main keyboard's '=' / '+' key
constexpr int Przecinek = 188;
constexpr int Minus = 189;  // the main keyboard's minus
constexpr int Kropka = 190;
constexpr int Ukosnik = 191;

}  // namespace vk

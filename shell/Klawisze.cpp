#include "shell/Klawisze.h"

#include <QKeyEvent>

#include "common/KlawiszeWindows.h"

int KodKlawiszaWindows(const QKeyEvent* e) {
    const int k = e->key();
    const bool klawiatura = e->modifiers() & Qt::KeypadModifier;
    if (klawiatura) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return vk::Numeryczna0 + (k - Qt::Key_0);
        switch (k) {
            case Qt::Key_Asterisk: return vk::NumerycznaRazy;
            case Qt::Key_Plus: return vk::NumerycznaPlus;
            case Qt::Key_Minus: return vk::NumerycznaMinus;
            case Qt::Key_Period:
            case Qt::Key_Comma: return vk::NumerycznaKropka;
            case Qt::Key_Slash: return vk::NumerycznaDzielenie;
            default: break;
        }
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return vk::LiteraA + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return vk::Cyfra0 + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return vk::F1 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Backspace: return vk::Backspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return vk::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return vk::Enter;
        case Qt::Key_Shift: return vk::Shift;
        case Qt::Key_Control: return vk::Control;
        case Qt::Key_Alt: return vk::Alt;
        case Qt::Key_Pause: return vk::Pauza;
        case Qt::Key_CapsLock: return vk::CapsLock;
        case Qt::Key_Escape: return vk::Escape;
        case Qt::Key_Space: return vk::Spacja;
        case Qt::Key_PageUp: return vk::PageUp;
        case Qt::Key_PageDown: return vk::PageDown;
        case Qt::Key_End: return vk::End;
        case Qt::Key_Home: return vk::Home;
        case Qt::Key_Left: return vk::Lewo;
        case Qt::Key_Up: return vk::Gora;
        case Qt::Key_Right: return vk::Prawo;
        case Qt::Key_Down: return vk::Dol;
        case Qt::Key_Insert: return vk::Insert;
        case Qt::Key_Delete: return vk::Delete;
        case Qt::Key_NumLock: return vk::NumLock;
        case Qt::Key_ScrollLock: return vk::ScrollLock;
        case Qt::Key_Semicolon: return vk::Srednik;
        case Qt::Key_Plus:
        case Qt::Key_Equal: return vk::Plus;
        case Qt::Key_Comma: return vk::Przecinek;
        case Qt::Key_Minus: return vk::Minus;
        case Qt::Key_Period: return vk::Kropka;
        case Qt::Key_Slash: return vk::Ukosnik;
        default: return 0;
    }
}

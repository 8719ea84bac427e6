#pragma once

class QKeyEvent;
class QLineEdit;
class QWidget;

// Key codes the navigation acts on, as the platform numbers them.
namespace TusKodlari {
constexpr int Enter = 13;
constexpr int Sol = 37;
constexpr int Yukari = 38;
constexpr int Sag = 39;
constexpr int Asagi = 40;
} // namespace TusKodlari

// The platform key code of a key event: Enter and the four arrows; 0 for any other key.
int TusKodu(const QKeyEvent *olay);

// Moves the focus by the control's navigation Tag (the dynamic property "Tag"):
// "left;up;right;down-and-enter", each field one or more targets separated by "|",
// a target being a control name, optionally with "(index)" for one element of a control
// array (the dynamic property "Index"). Names are compared without regard to case; the
// first target that names no control stops the search. With `imlecKontrol` Left acts only
// with the caret at the start of the text and Right only at its end.
void KontrolGezinti(QWidget *ekran, int tusKodu, QWidget *kontrol, bool imlecKontrol);

// Selects the whole text of a box, caret at the start.
void TumunuSec(QLineEdit *kutu);

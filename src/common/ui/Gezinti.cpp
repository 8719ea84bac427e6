#include "common/ui/Gezinti.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStringList>
#include <QVariant>
#include <QWidget>

int TusKodu(const QKeyEvent *olay)
{
    switch (olay->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return TusKodlari::Enter;
    case Qt::Key_Left: return TusKodlari::Sol;
    case Qt::Key_Up: return TusKodlari::Yukari;
    case Qt::Key_Right: return TusKodlari::Sag;
    case Qt::Key_Down: return TusKodlari::Asagi;
    default: return 0;
    }
}

namespace {

// The caret and text length of a control that has a caret; nothing for one that has none.
bool Imlec(QWidget *kontrol, int &konum, int &uzunluk)
{
    if (auto *kutu = qobject_cast<QLineEdit *>(kontrol)) {
        konum = kutu->cursorPosition();
        uzunluk = int(kutu->text().size());
        return true;
    }
    return false;
}

} // namespace

void KontrolGezinti(QWidget *ekran, int tusKodu, QWidget *kontrol, bool imlecKontrol)
{
    int alan;
    switch (tusKodu) {
    case TusKodlari::Sol: alan = 0; break;
    case TusKodlari::Yukari: alan = 1; break;
    case TusKodlari::Sag: alan = 2; break;
    case TusKodlari::Asagi:
    case TusKodlari::Enter: alan = 3; break;
    default: return;
    }
    if (!ekran || !kontrol)
        return;

    if (imlecKontrol) {
        int konum = 0, uzunluk = 0;
        if (Imlec(kontrol, konum, uzunluk)) {
            if (tusKodu == TusKodlari::Sol && konum != 0)
                return;
            if (tusKodu == TusKodlari::Sag && konum != uzunluk)
                return;
        }
    }

    // The fourth field is everything after the third ";".
    const QStringList alanlar = kontrol->property("Tag").toString().split(QLatin1Char(';'));
    QString hedefler;
    if (alan < 3)
        hedefler = alan < alanlar.size() ? alanlar.at(alan) : QString();
    else if (alanlar.size() > 3)
        hedefler = alanlar.mid(3).join(QLatin1Char(';'));

    const QList<QWidget *> kontroller = ekran->findChildren<QWidget *>();
    for (const QString &hedef : hedefler.split(QLatin1Char('|'))) {
        QString ad = hedef;
        bool indeksli = false;
        int indeks = 0;
        const qsizetype parantez = hedef.indexOf(QLatin1Char('('));
        if (parantez >= 0) {
            ad = hedef.left(parantez);
            indeks = hedef.mid(parantez + 1, hedef.size() - parantez - 2).trimmed().toInt();
            indeksli = true;
        }
        if (ad.isEmpty())
            return;
        QWidget *bulunan = nullptr;
        for (QWidget *aday : kontroller) {
            if (aday->objectName().compare(ad, Qt::CaseInsensitive) != 0)
                continue;
            if (indeksli && (!aday->property("Index").isValid() || aday->property("Index").toInt() != indeks))
                continue;
            bulunan = aday;
            break;
        }
        if (!bulunan)
            return;
        if (bulunan->isEnabled() && bulunan->isVisibleTo(ekran)) {
            bulunan->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void TumunuSec(QLineEdit *kutu)
{
    if (!kutu)
        return;
    // Selected from the end back to the start, so that the caret stands at 0.
    const int uzunluk = int(kutu->text().size());
    kutu->setSelection(uzunluk, -uzunluk);
}

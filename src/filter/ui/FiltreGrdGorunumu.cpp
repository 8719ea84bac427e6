#include "filter/ui/FiltreGrdGorunumu.h"

#include "filter/FiltreTablosu.h"
#include "filter/ui/FiltreGrdTemsilcisi.h"

#include <QKeyEvent>

namespace {

// A key that types a character, without Ctrl, Alt or Meta.
bool YaziTusu(const QKeyEvent *olay)
{
    return !olay->text().isEmpty() && olay->text().front().isPrint()
           && !(olay->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

FiltreGrdGorunumu::FiltreGrdGorunumu(FiltreTablosu &tablo, QWidget *ust) : QTableView(ust), m_tablo(tablo)
{
    // Typing opens a free-text cell with what was typed; clicks are handled below.
    setEditTriggers(QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &indeks) { HucreyiAc(indeks); });
}

bool FiltreGrdGorunumu::HucreyiAc(const QModelIndex &indeks, const QString &aranan)
{
    // A click on the caption column leaves the current cell where it was: nothing opens.
    if (!indeks.isValid() || indeks != currentIndex() || !(indeks.flags() & Qt::ItemIsEditable))
        return false;
    if (!indexWidget(indeks))
        edit(indeks, QAbstractItemView::AllEditTriggers, nullptr);
    QWidget *duzenleyici = indexWidget(indeks);
    if (!duzenleyici)
        return false;
    if (auto *kutu = qobject_cast<SecenekKutusu *>(duzenleyici))
        kutu->ListeyiAc(aranan);
    return true;
}

void FiltreGrdGorunumu::DuzenlemeyiBitir()
{
    QWidget *duzenleyici = indexWidget(currentIndex());
    if (!duzenleyici)
        return;
    commitData(duzenleyici);
    closeEditor(duzenleyici, QAbstractItemDelegate::NoHint);
}

void FiltreGrdGorunumu::keyPressEvent(QKeyEvent *olay)
{
    const QModelIndex gecerli = currentIndex();
    const bool alt = olay->modifiers() & Qt::AltModifier;
    const bool listeli = gecerli.isValid() && !m_tablo.Secenekler(gecerli.row() + 1).isEmpty();
    if ((olay->key() == Qt::Key_F4 && !alt) || (olay->key() == Qt::Key_Down && alt)) {
        if (HucreyiAc(gecerli))
            return;
    } else if (listeli && YaziTusu(olay)) {
        if (HucreyiAc(gecerli, olay->text()))
            return;
    }
    QTableView::keyPressEvent(olay);
}

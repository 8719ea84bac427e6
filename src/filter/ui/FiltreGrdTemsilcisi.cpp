#include "filter/ui/FiltreGrdTemsilcisi.h"

#include "common/TarihKontrol.h"
#include "filter/FiltreTablosu.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

namespace {
constexpr int TarihSatiri = 1;
// Set on a date editor while the date check may show its message box.
constexpr char TarihDenetimi[] = "TarihDenetimi";
} // namespace

SecenekKutusu::SecenekKutusu(QWidget *ust) : QComboBox(ust)
{
    connect(this, &QComboBox::activated, this, [this] { m_secildi = true; });
}

void SecenekKutusu::ListeyiAc(const QString &aranan)
{
    showPopup();
    if (!aranan.isEmpty())
        view()->keyboardSearch(aranan);
}

void SecenekKutusu::keyPressEvent(QKeyEvent *olay)
{
    const Qt::KeyboardModifiers tuslar = olay->modifiers();
    switch (olay->key()) {
    case Qt::Key_Down:
        if (tuslar & Qt::AltModifier) {
            ListeyiAc();
            return;
        }
        Q_FALLTHROUGH();
    case Qt::Key_Up:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        // The grid moves to another cell; the value stays.
        olay->ignore();
        return;
    default:
        if (!olay->text().isEmpty() && olay->text().front().isPrint()
            && !(tuslar & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            ListeyiAc(olay->text());
            return;
        }
    }
    QComboBox::keyPressEvent(olay);
}

void SecenekKutusu::wheelEvent(QWheelEvent *olay)
{
    // The wheel scrolls the grid instead of turning the value.
    olay->ignore();
}

FiltreGrdTemsilcisi::FiltreGrdTemsilcisi(FiltreTablosu &tablo, QObject *ust)
    : QStyledItemDelegate(ust), m_tablo(tablo)
{
}

QWidget *FiltreGrdTemsilcisi::createEditor(QWidget *ust, const QStyleOptionViewItem &, const QModelIndex &indeks) const
{
    const int satir = indeks.row() + 1;
    const QStringList ogeler = m_tablo.Secenekler(satir);
    if (!ogeler.isEmpty()) {
        auto *kutu = new SecenekKutusu(ust);
        kutu->setObjectName(QStringLiteral("SecenekKutusu"));
        for (const QString &oge : ogeler) {
            // The further columns of an item are shown beside its value, the value alone is stored.
            QString gorunen = oge;
            gorunen.replace(QLatin1Char('\t'), QStringLiteral("   "));
            kutu->addItem(gorunen, FiltreTablosu::SecenekDegeri(oge));
        }
        auto *temsilci = const_cast<FiltreGrdTemsilcisi *>(this);
        connect(kutu, &QComboBox::activated, temsilci, [temsilci, kutu] {
            Q_EMIT temsilci->commitData(kutu);
            Q_EMIT temsilci->closeEditor(kutu, QAbstractItemDelegate::NoHint);
        });
        return kutu;
    }
    auto *satirKutusu = new QLineEdit(ust);
    satirKutusu->setFrame(false);
    if (satir == TarihSatiri) {
        connect(satirKutusu, &QLineEdit::textEdited, satirKutusu, [satirKutusu](const QString &metin) {
            // The message box of a refused day or month takes the focus: the editor must
            // neither close nor be deleted under the key press that is still typing into it.
            QPointer<QLineEdit> kutu(satirKutusu);
            kutu->setProperty(TarihDenetimi, true);
            const std::optional<QString> tarih = TarihKontrol(metin);
            if (!kutu)
                return;
            kutu->setProperty(TarihDenetimi, false);
            if (!tarih) {
                kutu->setFocus();
                return;
            }
            if (*tarih != metin)
                kutu->setText(*tarih);
        });
    }
    return satirKutusu;
}

void FiltreGrdTemsilcisi::setEditorData(QWidget *editor, const QModelIndex &indeks) const
{
    const QString deger = indeks.data(Qt::EditRole).toString();
    if (auto *kutu = qobject_cast<QComboBox *>(editor)) {
        // A value outside the list (an end value never chosen) marks no item.
        kutu->setCurrentIndex(kutu->findData(deger));
    } else if (auto *satir = qobject_cast<QLineEdit *>(editor)) {
        satir->setText(deger);
    }
}

void FiltreGrdTemsilcisi::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &indeks) const
{
    if (auto *kutu = qobject_cast<SecenekKutusu *>(editor)) {
        // Only an item the operator picked is a new value.
        if (kutu->Secildi() && kutu->currentIndex() >= 0)
            model->setData(indeks, kutu->currentData(), Qt::EditRole);
    } else if (auto *satir = qobject_cast<QLineEdit *>(editor)) {
        model->setData(indeks, satir->text(), Qt::EditRole);
    }
}

bool FiltreGrdTemsilcisi::eventFilter(QObject *nesne, QEvent *olay)
{
    auto *duzenleyici = qobject_cast<QWidget *>(nesne);
    if (!duzenleyici)
        return QStyledItemDelegate::eventFilter(nesne, olay);
    switch (olay->type()) {
    case QEvent::FocusOut:
    case QEvent::Hide:
        // The date check's message box has the focus for now; the edit goes on after it.
        if (duzenleyici->property(TarihDenetimi).toBool())
            return false;
        break;
    case QEvent::KeyPress: {
        const auto *tus = static_cast<QKeyEvent *>(olay);
        if ((tus->key() != Qt::Key_Tab && tus->key() != Qt::Key_Backtab)
            || (tus->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            break;
        // Tab ends the edit and moves on to the next control, as it does from the grid.
        QWidget *grid = duzenleyici->parentWidget() ? duzenleyici->parentWidget()->parentWidget() : nullptr;
        Q_EMIT commitData(duzenleyici);
        Q_EMIT closeEditor(duzenleyici, QAbstractItemDelegate::NoHint);
        if (qobject_cast<QAbstractItemView *>(grid)) {
            QKeyEvent ayni(QEvent::KeyPress, tus->key(), tus->modifiers());
            QCoreApplication::sendEvent(grid, &ayni);
        }
        return true;
    }
    default:
        break;
    }
    return QStyledItemDelegate::eventFilter(nesne, olay);
}

FiltreSecimModeli::FiltreSecimModeli(FiltreTablosu &tablo) : QItemSelectionModel(&tablo), m_tablo(tablo) {}

bool FiltreSecimModeli::Kabul(const QModelIndex &indeks) const
{
    if (!indeks.isValid())
        return true;
    const int c = indeks.column();
    return c == m_tablo.ColIndex(QStringLiteral("Baslangic")) || c == m_tablo.ColIndex(QStringLiteral("Bitis"));
}

void FiltreSecimModeli::setCurrentIndex(const QModelIndex &indeks, QItemSelectionModel::SelectionFlags komut)
{
    if (Kabul(indeks))
        QItemSelectionModel::setCurrentIndex(indeks, komut);
}

void FiltreSecimModeli::select(const QModelIndex &indeks, QItemSelectionModel::SelectionFlags komut)
{
    if (Kabul(indeks))
        QItemSelectionModel::select(indeks, komut);
}

void FiltreSecimModeli::select(const QItemSelection &secim, QItemSelectionModel::SelectionFlags komut)
{
    QItemSelection kalan;
    for (const QModelIndex &i : secim.indexes())
        if (Kabul(i))
            kalan.select(i, i);
    if (!secim.isEmpty() && kalan.isEmpty() && !(komut & QItemSelectionModel::Clear))
        return;
    QItemSelectionModel::select(kalan, komut);
}

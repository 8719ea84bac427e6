#include "filter/ui/FiltreGrdTemsilcisi.h"

#include "common/TarihKontrol.h"
#include "filter/FiltreTablosu.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
constexpr int TarihSatiri = 1;
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
        auto *kutu = new QComboBox(ust);
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
            const std::optional<QString> tarih = TarihKontrol(metin);
            if (!tarih) {
                satirKutusu->setFocus();
                return;
            }
            if (*tarih != metin)
                satirKutusu->setText(*tarih);
        });
    }
    return satirKutusu;
}

void FiltreGrdTemsilcisi::setEditorData(QWidget *editor, const QModelIndex &indeks) const
{
    const QString deger = indeks.data(Qt::EditRole).toString();
    if (auto *kutu = qobject_cast<QComboBox *>(editor)) {
        const int i = kutu->findData(deger);
        kutu->setCurrentIndex(i < 0 ? 0 : i);
    } else if (auto *satir = qobject_cast<QLineEdit *>(editor)) {
        satir->setText(deger);
    }
}

void FiltreGrdTemsilcisi::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &indeks) const
{
    if (auto *kutu = qobject_cast<QComboBox *>(editor)) {
        if (kutu->currentIndex() >= 0)
            model->setData(indeks, kutu->currentData(), Qt::EditRole);
    } else if (auto *satir = qobject_cast<QLineEdit *>(editor)) {
        model->setData(indeks, satir->text(), Qt::EditRole);
    }
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

#pragma once

#include "transfer/DegisiklikRaporu.h"

#include <QAbstractTableModel>

// The preview's table: one row per card of the file (and per price definition the import
// adds or changes), with what the import would do to it. Filled by DegisiklikToplayici.
class OnizlemeModeli : public QAbstractTableModel, public RaporAlici
{
    Q_OBJECT
public:
    enum Sutun { StokKod, StokAd, Durum, Degisiklik, SutunSayisi };
    // The card's KartDurumu, for filtering by kind.
    static constexpr int DurumRolu = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void KartAlindi(RaporKarti &&kart) override;

    int rowCount(const QModelIndex &ust = QModelIndex()) const override;
    int columnCount(const QModelIndex &ust = QModelIndex()) const override;
    QVariant data(const QModelIndex &indeks, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int bolum, Qt::Orientation yon, int rol = Qt::DisplayRole) const override;

    const std::vector<RaporKarti> &Kartlar() const { return m_kartlar; }
    static QString DurumMetni(KartDurumu durum);

private:
    std::vector<RaporKarti> m_kartlar;
};

// The changed columns and price values of one card of the preview.
class OnizlemeDetayModeli : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Sutun { Ne, SutunAdi, Eski, Yeni, SutunSayisi };

    explicit OnizlemeDetayModeli(const OnizlemeModeli &kartlar, QObject *ust = nullptr);
    // The card of the preview's row `satir`; -1 for none.
    void KartSec(int satir);

    int rowCount(const QModelIndex &ust = QModelIndex()) const override;
    int columnCount(const QModelIndex &ust = QModelIndex()) const override;
    QVariant data(const QModelIndex &indeks, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int bolum, Qt::Orientation yon, int rol = Qt::DisplayRole) const override;

private:
    const OnizlemeModeli &m_kartlar;
    const RaporKarti *m_kart = nullptr;
};

// Writes the preview's table as a report file. An empty text, or why it could not be written.
QString OnizlemeyiYaz(const OnizlemeModeli &model, const QString &yol, const QString &firma);

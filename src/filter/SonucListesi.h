#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QVector>
#include <array>

// The result list `Fisgrd`: the work list of the export, one row per listed card.
// Grid addressing as the screens use it: row 0 is the header row, data rows are 1..Rows()-1;
// columns are found by key. As a model it holds the data rows only, so that a view shows
// 100,000 cards without one widget item per cell.
class SonucListesi : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int SutunSayisi = 6;
    using Satir = std::array<QString, SutunSayisi>;

    explicit SonucListesi(QObject *ust = nullptr);

    // Grid operations.
    int Rows() const { return int(m_satirlar.size()) + 1; }
    void SetRows(int satirSayisi);                 // 1 empties the list, the header stays
    QString TextMatrix(int satir, int sutun) const;
    void SetTextMatrix(int satir, int sutun, const QString &metin);
    int ColIndex(const QString &anahtar) const;    // -1 for an unknown key
    void RemoveItem(int satir);                    // removes data row `satir` (1-based)
    // Appends rows at the bottom in one step (the list fill adds them in batches).
    void SatirlariEkle(QVector<Satir> satirlar);

    static const std::array<QString, SutunSayisi> &Anahtarlar();
    static const std::array<QString, SutunSayisi> &Basliklar();

    // Model.
    int rowCount(const QModelIndex &ust = QModelIndex()) const override;
    int columnCount(const QModelIndex &ust = QModelIndex()) const override;
    QVariant data(const QModelIndex &indeks, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int bolum, Qt::Orientation yon, int rol = Qt::DisplayRole) const override;

private:
    QVector<Satir> m_satirlar;
};

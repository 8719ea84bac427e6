#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// The criteria grid `FiltreGrd`: 34 rows (row 0 the header) by 9 columns, addressed as the
// routines address it: rows by number, columns by key. As a model it shows the criteria
// rows 1..33 (model row = grid row - 1); the screen hides what the grid hides.
class FiltreTablosu : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int SatirSayisi = 34;
    static constexpr int SutunSayisi = 9;
    using Satir = std::array<QString, SutunSayisi>;

    explicit FiltreTablosu(QObject *ust = nullptr);

    // The rows, captions, defaults and option lists as the screen opens.
    void Sifirla();

    // Grid operations.
    int Rows() const { return SatirSayisi; }
    int Cols() const { return SutunSayisi; }
    QString TextMatrix(int satir, int sutun) const;
    void SetTextMatrix(int satir, int sutun, const QString &metin);
    int ColIndex(const QString &anahtar) const;     // -1 for an unknown key
    bool RowHidden(int satir) const;
    void SetRowHidden(int satir, bool gizli);

    // Cells by key, as the query builder reads them.
    QString Hucre(int satir, const QString &anahtar) const { return TextMatrix(satir, ColIndex(anahtar)); }
    // The first row whose caption is exactly `baslik`, or -1.
    int SatirBul(const QString &baslik) const;

    // The drop-down items of a row's option list, in order; the empty trailing item left by
    // the closing bar is not offered.
    QStringList Secenekler(int satir) const;
    // What a chosen item puts into the cell: its first tab-separated column.
    static QString SecenekDegeri(const QString &oge);
    // Whether `deger` may stand in the value cells of a row: anything when its list is empty,
    // otherwise the value of one of its items.
    bool SecenekteVar(int satir, const QString &deger) const;
    // Writes the Baslangic or Bitis cell of the row captioned `baslik`, as an operator could:
    // false with a reason when there is no such row or the value is not in its list.
    bool DegerYaz(const QString &baslik, const QString &anahtar, const QString &deger, QString *neden = nullptr);

    static const std::array<QString, SutunSayisi> &Anahtarlar();
    static const std::array<QString, SutunSayisi> &Basliklar();

    // Model.
    int rowCount(const QModelIndex &ust = QModelIndex()) const override;
    int columnCount(const QModelIndex &ust = QModelIndex()) const override;
    QVariant data(const QModelIndex &indeks, int rol = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &indeks, const QVariant &deger, int rol = Qt::EditRole) override;
    QVariant headerData(int bolum, Qt::Orientation yon, int rol = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &indeks) const override;

Q_SIGNALS:
    void SatirGizlendi(int satir, bool gizli);

private:
    QVector<Satir> m_satirlar;      // grid rows 0..33
    QVector<bool> m_gizli;
};

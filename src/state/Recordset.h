#pragma once

#include "state/ArkaUc.h"
#include "state/SutunTipi.h"

#include <QSet>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class VeriTabaniBaglantisi;

// The rows of one statement, held in memory, with the cursor operations the screens and
// commands use. An updatable recordset (one base table) collects new and changed rows and
// stores them with UpdateBatch(), keyed by the table's primary key, with bound values.
// Every read on a closed recordset, or past its end, throws Hata: this is how a caller whose
// statement failed fails at its next use of the recordset.
class Recordset
{
public:
    // Closes first, then runs the statement. Throws Hata when it fails (left closed).
    void Ac(VeriTabaniBaglantisi &baglanti, const QString &sql, bool guncellenebilir);
    // Read-only, with "?" values bound: the statement is prepared once per connection and its
    // column types read once, for statements run again and again with other values.
    void Ac(VeriTabaniBaglantisi &baglanti, const QString &sql, const QVector<QVariant> &degerler);
    void Kapat();
    bool Acik() const { return m_acik; }

    int RecordCount() const;
    bool Eof() const;
    void MoveNext();
    void MoveFirst();
    // To row `satir` (0-based; RecordCount() stands at the end).
    void SatiraGit(int satir);
    int Konum() const { return m_konum; }

    int FieldCount() const;
    QString FieldName(int sutun) const;
    int FieldIndex(const QString &ad) const; // -1 when there is no such column
    SutunBilgisi Sutun(int sutun) const;
    bool SabitUzunluklu(int sutun) const { return SabitUzunlukluMu(Sutun(sutun).tip); }

    QVariant Deger(int sutun) const;
    QVariant Deger(const QString &ad) const;
    // The value's text by the system's one rule, trimmed.
    QString Metin(int sutun) const;
    QString Metin(const QString &ad) const;

    void AddNew();
    // Writes a text into the current row, converted for the column; throws Hata when the
    // column cannot take it.
    void MetinYaz(int sutun, const QString &metin);
    void DegerYaz(int sutun, const QVariant &deger);
    // Stores every pending new or changed row in the base table.
    void UpdateBatch();
    bool BekleyenVar() const { return !m_degisen.isEmpty(); }

    const QString &Kaynak() const { return m_kaynak; }

private:
    void Oku(VeriTabaniBaglantisi &baglanti, const QString &sql, const QVector<QVariant> &degerler,
             KomutKullanimi kullanim);
    void AcikOlmali() const;
    int SutunOlmali(int sutun) const;
    int SutunOlmali(const QString &ad) const;
    const QVector<QVariant> &GecerliSatir() const;
    void TipleriOku() const;
    void SatiriYaz(int satir);

    VeriTabaniBaglantisi *m_baglanti = nullptr;
    bool m_acik = false;
    QString m_kaynak;
    QString m_gonderilen;
    QSqlRecord m_kayit;
    QStringList m_adlar;
    int m_gorunen = 0;
    mutable QVector<SutunBilgisi> m_tipler;
    mutable bool m_tiplerHazir = false;
    QVector<QVector<QVariant>> m_satirlar;
    int m_konum = 0;

    // Updatable recordsets only.
    bool m_guncellenebilir = false;
    QString m_tablo;
    QVector<int> m_anahtarlar;                 // positions of the key columns in a row
    QHash<int, QSet<int>> m_degisen;           // row -> columns written
    QSet<int> m_yeniler;                       // rows added with AddNew
    QHash<int, QVector<QVariant>> m_ilkDegerler; // row -> values before the first write
};

#pragma once

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <memory>
#include <optional>

// The transfer file: tagged lines, values each followed by ";", Windows-1254, CRLF after
// every line. Everything that forms or takes apart a line lives here; the export and the
// import never write or split lines themselves.

namespace Etiket {
inline const QString KdvGruplari = QStringLiteral("<KDVGRUPLARI>");
inline const QString FiyatTanim = QStringLiteral("<FIYATTANIM>");
inline const QString StokKart = QStringLiteral("<STOKKART>");
inline const QString StokFiyat = QStringLiteral("<STOKFIYAT>");
inline const QString Stok = QStringLiteral("<STOK>");
inline const QString Son = QStringLiteral("<END>");
} // namespace Etiket

// ---- Forming lines -------------------------------------------------------------------

// Every value followed by ";" (the texts as given: callers pass the trimmed value texts).
QString DegerSatiri(const QStringList &degerler);
// The count line: one blank, the number, one blank.
QString SayiSatiri(int sayi);
// The card column line from the column names of
// "SELECT TOP 1 STOKKART.*,KDVGRUPLARI.Departman_No FROM ..." in their order.
QString KartSutunSatiri(const QStringList &sorguSutunlari);
// The price statement prefix for the chosen price groups (at least one).
QString FiyatOnEki(bool satis, bool alis);
// Why a value cannot stand in a transfer file (";", CR, LF, a character Windows-1254 lacks),
// or an empty text when it can.
QString DegerYazilamazNedeni(const QString &deger);

// ---- Taking lines apart --------------------------------------------------------------

struct KDVTanim {
    qint16 Departman_No = 0;
    QString Departman_Adi;
    qint16 KDV = 0;
};

struct FiyatTanimSatiri {
    qint16 Sira_No = 0;
    QString Fiyat_Aciklama;
    bool On_Deger = false;
};

// Text to a 16-bit integer the way the workstation reads it (decimal comma, blanks around
// allowed, halves to even). Throws Hata when it is no number or out of range.
qint16 Tamsayi16(const QString &metin);
// True/False or a number (zero = false). Throws Hata otherwise.
bool EvetHayir(const QString &metin);

// 0 = parsed, -1 = fewer than three ";". Conversion failures throw Hata.
qint16 KdvSatiriOku(const QString &satir, KDVTanim &kdv);
qint16 FiyatTanimSatiriOku(const QString &satir, FiyatTanimSatiri &tanim);
// The names of a card column line, table prefixes dropped (the last one keeps its blank).
QStringList AlanSatiriOku(const QString &satir);
// The values of a card or price line; a final ";" ends the split without an empty value.
QStringList StokSatiriOku(const QString &satir);
inline QStringList FiyatSatiriOku(const QString &satir) { return StokSatiriOku(satir); }

// A card column line in exactly the export's shape: "SELECT " + names + the fixed FROM/WHERE
// tail, each name an identifier, optionally prefixed "STOKKART.", the last exactly
// Departman_No. Returns the bare names 1..N-1 (without Departman_No), or nothing.
std::optional<QStringList> KartSutunSatiriCoz(const QString &satir);

// The three forms of the price statement prefix.
struct FiyatOnEkiBicimi {
    bool satis = false;
    bool alis = false;
    QStringList sutunlar; // in line order: Fiyat_Sira_No, Stok_ID, Fiyat_Aciklama, prices
};
std::optional<FiyatOnEkiBicimi> FiyatOnEkiCoz(const QString &satir);

// ---- Reading and writing -------------------------------------------------------------

// Reads a transfer file line by line without holding it whole: a line ends at CR or at
// CRLF; a bare LF belongs to the line. Reading past the end throws Hata.
class AktarimOkuyucu
{
public:
    // Throws Hata when the file cannot be opened.
    explicit AktarimOkuyucu(const QString &yol);
    QString SatirOku();
    // The same into `hedef`, whose storage is reused from line to line.
    void SatirOku(QString &hedef);
    // The next line's bytes as the file holds them, not decoded; valid until the next read.
    QByteArrayView HamSatirOku();
    bool Bitti();
    // Byte position of the next line, to come back to it.
    qint64 Konum() const { return m_konum; }
    void KonumaGit(qint64 konum);

private:
    bool Doldur();

    QFile m_dosya;
    QStringDecoder m_cozucu;
    QByteArray m_tampon;
    qsizetype m_okunan = 0; // consumed part of m_tampon
    qint64 m_konum = 0;
};

// Writes a transfer file beside its target and puts it in place only when Tamamla() is
// reached; dropped before that, it leaves nothing behind and an existing file untouched.
class AktarimYazici
{
public:
    explicit AktarimYazici(const QString &yol); // throws Hata
    ~AktarimYazici();
    // One line and CRLF. Throws Hata when the text cannot be encoded or written.
    void SatirYaz(const QString &satir);
    void Tamamla(); // throws Hata

private:
    QSaveFile m_dosya;
    QByteArray m_tampon;
    void Bosalt();
};

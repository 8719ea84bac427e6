#pragma once

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The transfer file: tagged lines, values each followed by ";", Windows-1254, CRLF after
// every line. The lines are formed here and taken apart by AktarimOkuyucu; the export and the
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
// Why a value cannot stand in a transfer file (";", CR, LF, another control character such as
// NUL or TAB, a character Windows-1254 lacks), or an empty text when it can.
QString DegerYazilamazNedeni(QStringView deger);
// The same for one character.
QString KarakterYazilamazNedeni(char16_t karakter);

// ---- Recognising the header lines -------------------------------------------------------

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

// ---- Writing -----------------------------------------------------------------------------

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

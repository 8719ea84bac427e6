#pragma once

#include "filter/AktarimSecimi.h"
#include "filter/SonucListesi.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"
#include "transfer/DosyadanAl.h"

#include <QDir>
#include <QTemporaryDir>

// What the transfer tests expect, written out here once rather than taken from the product,
// so that a changed company name or message text shows up as a failing test.
namespace AktarimBeklentileri {
inline const QString Kaynak = QStringLiteral("FIRMA01");
inline const QString Hedef = QStringLiteral("FIRMA02");
inline const QString Basari = QStringLiteral("İşlem Başarı ile Tamamlandı");
inline const QString Bolge7 =
    QStringLiteral("Stok Bilgileri Güncellenirken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz.");
inline const QString Format = QStringLiteral("Dosya Formatı Hatası Dosya Ravelkoi İçinygun Dosya Değil.");
// Cards whose values can all stand in a file (the demo gives some a ";" in Aciklama).
inline const QString Yazilabilir =
    QStringLiteral("SELECT Stok_ID FROM STOKKART WHERE Aciklama IS NULL OR Aciklama NOT LIKE '%;%' ORDER BY Stok_Kod");
} // namespace AktarimBeklentileri

// One transfer test's world: the scripted operator, demo companies (FIRMA01 the source,
// FIRMA02 a target sharing part of its cards), a program folder and the day 14.05.2026.
class AktarimOrtami
{
public:
    explicit AktarimOrtami(int kartSayisi = 40, int fiyatSayisi = 3);
    ~AktarimOrtami();

    static AktarimSecimi Secim(bool satis, bool alis, QList<int> seviyeler = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    QString Yol(const QString &ad) const { return QDir(program.path()).filePath(ad); }
    // The cards `sql` lists in `firma` written to the file `ad` (straight, without the dialogs).
    QString Dosya(const QString &firma, const QString &sql, const AktarimSecimi &secim = Secim(true, true),
                  const QString &ad = QStringLiteral("t.trn"));
    // The list of the filter screen holding the cards `sql` lists.
    void Listele(const QString &firma, const QString &sql);
    QStringList Satirlar(const QString &yol) const; // without their CR LF
    void SatirlariYaz(const QString &yol, const QStringList &satirlar) const;
    // The card column names of a file's field-name line, without their table (Departman_No last).
    QStringList KartAdlari(const QString &yol) const;
    // An import into `firma` that must succeed, and its summary.
    IceAktarimOzeti IceAktar(const QString &firma, const QString &yol);
    // Rows as "a|b|c" texts, NULL as "NULL".
    QStringList Tablo(const QString &firma, const QString &sql);

    SahteEtkilesim op;
    TestVeritabani db;
    QTemporaryDir program;
    SonucListesi liste;
};

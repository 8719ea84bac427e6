#pragma once

#include <QString>

class Recordset;

// The login and the company choice without any screen: the login screen and the
// command-line program both go through these. They leave their results in Degiskenler and
// report what happened; the caller shows the messages and keeps the attempt count.

// Messages of the login and the company choice.
namespace GirisMesajlari {
inline const QString KullaniciyiKontrolEdin = QStringLiteral("Kullanını adınızı ve şifrenizi kontrol ediniz.");
inline const QString DenemeBitti =
    QStringLiteral("Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir.");
inline const QString BaglanilamadiGiris = QStringLiteral("Veri Tabanına Bağlanılamadı ");
inline const QString BaglanilamadiFirma =
    QStringLiteral("Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı Başlattıktan "
                   "sonra programı Tekrar Çalıştırın");
inline const QString HataAyrintisi = QStringLiteral("Hata Ayrıntsı :");
inline const QString FirmaSecilemedi = QStringLiteral("Firma Seçilemedi.");
} // namespace GirisMesajlari

struct GirisSonucu {
    enum class Durum {
        Bulundu,        // the user is in the user table: KullaniciID is set
        Reddedildi,     // user not found, or the server refused the login: a failed attempt
        BaglantiHatasi  // any other failure: not an attempt; the server may be corrected
    };
    Durum durum = Durum::BaglantiHatasi;
    QString aciklama;
    qint64 numara = 0;
};

struct FirmaSecimSonucu {
    enum class Durum {
        Secildi,           // Baglanti is now on the company's database
        Secilemedi,        // nothing changed; the operator may choose again
        BaglantiKurulamadi // the company's database did not open: the program ends
    };
    Durum durum = Durum::Secilemedi;
    QString aciklama;
    QString kod;       // the chosen company's code (sysfrm_kd, trimmed), once chosen
};

// The user look-up statement. User name and encoded password stand in quotes with their
// apostrophes doubled, so that neither can end the text early.
QString KullaniciSorgusu(const QString &kullanici, const QString &sifre);
// The user's companies (the statement ends with one space).
QString FirmaSorgusu(qint32 kullaniciID);

// Copies the credentials into Degiskenler (user and password as typed, server trimmed),
// opens Baglanti on VeritabaniAdi ("Defination_DB" when it is still empty) and looks the
// user up into firmaRS.
GirisSonucu KullaniciyiDogrula(const QString &kullanici, const QString &sifre, const QString &server,
                               Recordset &firmaRS);
// Loads the companies of KullaniciID into firmaRS. Bulundu, or BaglantiHatasi with the
// failure's description and number.
GirisSonucu FirmalariYukle(Recordset &firmaRS);

// Chooses the company of firmaRS's current row: VeritabaniAdi, FirmaID, FirmaAdi, the fiscal
// year and the company settings (read on the definitions connection), then Baglanti is
// replaced by a connection on the company's database.
FirmaSecimSonucu FirmaSec(Recordset &firmaRS);

// Puts firmaRS's cursor on the company with this code (sysfrm_kd, trimmed); false when the
// list has none.
bool FirmaKodunaGit(Recordset &firmaRS, const QString &kod);

#include "transfer/KayitYazici.h"

#include "state/DegerMetin.h"
#include "state/Degiskenler.h"
#include "state/HazirKomut.h"
#include "transfer/IceAktarimHatasi.h"
#include "transfer/KartYazici.h"

#include <QSqlQuery>

using namespace Degiskenler;
using Durus = IceAktarimHatasi::Durus;

namespace {

// A group of cards is committed after this long: a kill or a failure loses at most these.
constexpr qint64 GrupSuresiMs = 100;
// Writers of one company take turns by this name (where the backend needs a lock of its own).
const QString YazmaKilidi = QStringLiteral("STOKKART");

const QString KdvSorgusu =
    QStringLiteral("SELECT Departman_No,Departman_Adi,KDV,0 as Kullanici_ID FROM KDVGRUPLARI ORDER BY Departman_No");

// A row's text against a number of the file: numerically where the text is a number.
bool AyniSayi(const QString &metin, qint16 sayi)
{
    QString c = metin;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    bool tamam = false;
    const double d = c.toDouble(&tamam);
    return tamam ? d == double(sayi) : metin == QString::number(sayi);
}

} // namespace

void YazimSayilari::Ekle(IceAktarimOzeti &ozet) const
{
    ozet.kartOlusturulan += kartOlusturulan;
    ozet.kartGuncellenen += kartGuncellenen;
    ozet.kartDegismeyen += kartDegismeyen;
    ozet.fiyatOlusturulan += fiyatOlusturulan;
    ozet.fiyatGuncellenen += fiyatGuncellenen;
    ozet.fiyatTanimiEklenen += fiyatTanimiEklenen;
    ozet.fiyatTanimiGuncellenen += fiyatTanimiGuncellenen;
}

KayitYazici::KayitYazici(IceAktarimOzeti &ozet, DegisiklikKaydi *degisiklikler)
    : m_ozet(ozet), m_degisiklikler(degisiklikler)
{
}

KayitYazici::~KayitYazici()
{
    if (m_islemAcik)
        Durdur();
}

void KayitYazici::Denetle(const Kayit &kayit)
{
    switch (kayit.tur) {
    case KayitTuru::KdvGrubu:
        KdvDenetle(kayit);
        break;
    case KayitTuru::KdvSonu:
        KdvSonuDenetle();
        break;
    case KayitTuru::FiyatTanimi:
        TanimDenetle(kayit);
        break;
    case KayitTuru::KartBasligi:
        BaslikDenetle(kayit.baslik);
        break;
    case KayitTuru::Kart:
        m_kart->Denetle(kayit.kart);
        break;
    }
}

void KayitYazici::Yaz(const Kayit &kayit)
{
    switch (kayit.tur) {
    case KayitTuru::KdvGrubu:
    case KayitTuru::KdvSonu:
        break; // compared, never written
    case KayitTuru::FiyatTanimi:
        TanimYaz(kayit.tanim);
        break;
    case KayitTuru::KartBasligi:
        if (!m_kart || kayit.baslik.adlar != m_baslik.adlar || kayit.baslik.fiyat.sutunlar != m_baslik.fiyat.sutunlar)
            throw IceAktarimHatasi(5, QStringLiteral("Dosya denetlendikten sonra değişmiş."));
        break;
    case KayitTuru::Kart:
        KartYaz(kayit.kart);
        break;
    }
}

// ---- VAT groups ----------------------------------------------------------------------------

void KayitYazici::KdvDenetle(const Kayit &kayit)
{
    if (!m_hedefKdvOkundu) {
        QSqlQuery sorgu = Baglanti.Calistir(KdvSorgusu);
        while (sorgu.next())
            m_hedefKdv.emplace_back(DegerMetni(sorgu.value(0)).trimmed(), DegerMetni(sorgu.value(2)).trimmed());
        m_hedefKdvOkundu = true;
    }
    // Row k of the target against line k of the file, over the shorter list; the verdict
    // comes at the section's end, after every line was read.
    const size_t k = size_t(m_kdvSirasi++);
    if (k < m_hedefKdv.size()
        && (!AyniSayi(m_hedefKdv[k].first, kayit.kdv.Departman_No) || !AyniSayi(m_hedefKdv[k].second, kayit.kdv.KDV)))
        m_kdvUyusmuyor = true;
}

void KayitYazici::KdvSonuDenetle()
{
    if (m_hedefKdv.empty())
        throw IceAktarimHatasi(3, QString(), QString(), Durus::HedefKdvYok);
    if (m_kdvUyusmuyor)
        throw IceAktarimHatasi(3, QString(), QString(), Durus::KdvUyusmuyor);
}

// ---- Price definitions ---------------------------------------------------------------------

void KayitYazici::TanimDenetle(const Kayit &kayit)
{
    const FiyatTanimKaydi &tanim = kayit.tanim;
    struct Sutun {
        const char *tablo, *ad;
        QString deger;
    };
    const Sutun sutunlar[] = {{"FIYATTANIM", "Sira_No", QString::number(tanim.Sira_No)},
                              {"FIYATTANIM", "Fiyat_Aciklama", tanim.Fiyat_Aciklama},
                              {"STOKFIYAT", "Fiyat_Sira_No", QString::number(tanim.Sira_No)},
                              {"STOKFIYAT", "Fiyat_Aciklama", tanim.Fiyat_Aciklama}};
    for (const Sutun &s : sutunlar) {
        const QString neden = MetinUygunsuzlugu(s.deger, Baglanti.TabloSutunu(QLatin1String(s.tablo), QLatin1String(s.ad)));
        if (!neden.isEmpty())
            throw IceAktarimHatasi(4, QStringLiteral("Satır %1, %2 numaralı fiyat tanımı, %3.%4 sütunu: %5")
                                          .arg(kayit.satir)
                                          .arg(tanim.Sira_No)
                                          .arg(QLatin1String(s.tablo), QLatin1String(s.ad), neden));
    }
}

void KayitYazici::TanimYaz(const FiyatTanimKaydi &tanim)
{
    IslemAc();
    if (!m_tanimlarOkundu) {
        // Read inside the write transaction: a second import's definitions are seen.
        QSqlQuery sorgu = Baglanti.Calistir(
            QStringLiteral("SELECT Sira_No,Fiyat_Aciklama,On_Deger FROM FIYATTANIM%1").arg(Baglanti.KilitIpucu()));
        while (sorgu.next()) {
            if (!sorgu.value(0).isNull() && !m_tanimlar.contains(sorgu.value(0).toInt()))
                m_tanimlar.insert(sorgu.value(0).toInt(), {sorgu.value(1), sorgu.value(2)});
        }
        m_tanimlarOkundu = true;
    }
    const QString aciklama = tanim.Fiyat_Aciklama.isNull() ? QStringLiteral("") : tanim.Fiyat_Aciklama;
    const QVariant onDeger = Baglanti.SaklanacakBit(tanim.On_Deger);
    auto it = m_tanimlar.find(tanim.Sira_No);
    Baglanti.IslemBaslat();
    try {
        if (it == m_tanimlar.end()) {
            HazirKomut komut(Baglanti, QStringLiteral("INSERT INTO FIYATTANIM (Sira_No,Fiyat_Aciklama,On_Deger) VALUES (?,?,?)"));
            komut.Bagla(0, int(tanim.Sira_No));
            komut.Bagla(1, aciklama);
            komut.Bagla(2, onDeger);
            komut.Yurut();
            komut.Bitir();
            m_tanimlar.insert(tanim.Sira_No, {aciklama, onDeger});
            ++m_grup.fiyatTanimiEklenen;
            if (m_degisiklikler) {
                m_degisiklikler->FiyatTanimi(tanim.Sira_No, QStringLiteral("Fiyat_Aciklama"), QVariant(), aciklama);
                m_degisiklikler->FiyatTanimi(tanim.Sira_No, QStringLiteral("On_Deger"), QVariant(), onDeger);
            }
        } else {
            // A NULL stored is never seen as different and keeps its NULL.
            const bool aciklamaFarkli = !it->aciklama.isNull() && DegerMetni(it->aciklama).trimmed() != tanim.Fiyat_Aciklama;
            const bool onDegerFarkli =
                !it->onDeger.isNull() && (DegerMetni(it->onDeger, SutunTipi::Bit) == QLatin1String("True")) != tanim.On_Deger;
            if (aciklamaFarkli || onDegerFarkli) {
                QStringList atamalar;
                if (aciklamaFarkli)
                    atamalar << QStringLiteral("Fiyat_Aciklama=?");
                if (onDegerFarkli)
                    atamalar << QStringLiteral("On_Deger=?");
                HazirKomut komut(Baglanti, QStringLiteral("UPDATE FIYATTANIM SET %1 WHERE Sira_No=?").arg(atamalar.join(QLatin1Char(','))));
                int yer = 0;
                if (aciklamaFarkli)
                    komut.Bagla(yer++, aciklama);
                if (onDegerFarkli)
                    komut.Bagla(yer++, onDeger);
                komut.Bagla(yer, int(tanim.Sira_No));
                komut.Yurut();
                komut.Bitir();
                // Every stock price of the level takes the level's caption, also when only
                // the default flag changed.
                HazirKomut fiyatlar(Baglanti, QStringLiteral("UPDATE STOKFIYAT SET Fiyat_Aciklama=? WHERE Fiyat_Sira_No=?"));
                fiyatlar.Bagla(0, aciklama);
                fiyatlar.Bagla(1, int(tanim.Sira_No));
                fiyatlar.Yurut();
                fiyatlar.Bitir();
                if (m_degisiklikler) {
                    if (aciklamaFarkli)
                        m_degisiklikler->FiyatTanimi(tanim.Sira_No, QStringLiteral("Fiyat_Aciklama"), it->aciklama, aciklama);
                    if (onDegerFarkli)
                        m_degisiklikler->FiyatTanimi(tanim.Sira_No, QStringLiteral("On_Deger"), it->onDeger, onDeger);
                }
                if (aciklamaFarkli)
                    it->aciklama = aciklama;
                if (onDegerFarkli)
                    it->onDeger = onDeger;
                ++m_grup.fiyatTanimiGuncellenen;
            }
        }
        Baglanti.IslemOnayla();
    } catch (...) {
        if (!KayitNoktasinaDon())
            m_grupBitti = true;
        throw;
    }
}

// ---- Cards -----------------------------------------------------------------------------------

void KayitYazici::BaslikDenetle(const KartBasligi &baslik)
{
    // The target's VAT groups by department: the first group of a number is the one a card gets.
    m_gruplar.clear();
    const SutunBilgisi grupTipi = Baglanti.TabloSutunu(QStringLiteral("STOKKART"), QStringLiteral("KDVGrup_ID"));
    QSqlQuery sorgu = Baglanti.Calistir(QStringLiteral("SELECT Departman_No,Grup_ID FROM KDVGRUPLARI ORDER BY Grup_ID"));
    while (sorgu.next()) {
        if (sorgu.value(0).isNull())
            continue;
        const int departman = sorgu.value(0).toInt();
        if (!m_gruplar.contains(departman))
            m_gruplar.insert(departman, {sorgu.value(1), DegerMetni(sorgu.value(1), grupTipi.tip).trimmed()});
    }
    m_kart = std::make_unique<KartYazici>(baslik, m_gruplar, m_degisiklikler);
    m_baslik = baslik;
}

void KayitYazici::KartYaz(const KartKaydi &kart)
{
    IslemAc();
    const quint64 once = Baglanti.KomutSayisi();
    const KartYazici::Sonuc sonuc = m_kart->Yaz(kart, m_grup);
    const int komut = int(Baglanti.KomutSayisi() - once);
    IceAktarimOzeti::KomutSayilari &sayilar = sonuc == KartYazici::Sonuc::Olusturuldu  ? m_ozet.komutOlusturulan
                                              : sonuc == KartYazici::Sonuc::Guncellendi ? m_ozet.komutGuncellenen
                                                                                         : m_ozet.komutDegismeyen;
    sayilar.toplam += quint64(komut);
    sayilar.enCok = qMax(sayilar.enCok, komut);
    if (m_grupSuresi.elapsed() >= GrupSuresiMs)
        GrupKapat();
}

// ---- Transactions ----------------------------------------------------------------------------

void KayitYazici::IslemAc()
{
    if (m_islemAcik)
        return;
    Baglanti.IslemBaslat(IslemTuru::Yazma, YazmaKilidi);
    m_islemAcik = true;
    m_grupSuresi.start();
}

void KayitYazici::GrupKapat()
{
    if (!m_islemAcik)
        return;
    m_islemAcik = false;
    Baglanti.IslemOnayla();
    m_grup.Ekle(m_ozet);
    m_grup = {};
    if (m_degisiklikler)
        m_degisiklikler->Onaylandi();
}

void KayitYazici::Bitir()
{
    GrupKapat();
}

bool KayitYazici::Durdur()
{
    if (!m_islemAcik)
        return true;
    const bool enDista = Baglanti.IslemDerinligi() == 1;
    const bool bitti = std::exchange(m_grupBitti, false) | (m_kart && m_kart->IslemBitti());
    if (!bitti) {
        try {
            GrupKapat();
            return true;
        } catch (const Hata &) {
            // Nothing of the group could be committed: a transaction the database still holds
            // open goes too.
            if (enDista) {
                QSqlDatabase db = Baglanti.Veritabani();
                db.rollback();
            }
        }
    } else {
        // The database ended the transaction with the failure: committing now would commit
        // nothing, or begin anew.
        KayitNoktasinaDon();
    }
    m_islemAcik = false;
    m_grup = {};
    // What was read inside the transaction is gone with it.
    m_tanimlar.clear();
    m_tanimlarOkundu = false;
    if (m_degisiklikler)
        m_degisiklikler->GeriAlindi();
    // Inside a dry run the run's own transaction is gone as well: nothing is written again.
    return !enDista;
}

#include "transfer/DosyaOlustur.h"

#include "common/Etkilesim.h"
#include "common/Ilerleme.h"
#include "filter/SonucListesi.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/RecordsetAc.h"
#include "state/TutarliOkuma.h"
#include "transfer/AktarimDosyasi.h"
#include "transfer/OncekiDosya.h"

#include <QFileInfo>
#include <QHash>

using namespace Degiskenler;

namespace {

const QString KdvSorgusu =
    QStringLiteral("SELECT Departman_No,Departman_Adi,KDV,0 as Kullanici_ID FROM KDVGRUPLARI ORDER BY Departman_No");
const QString FiyatTanimSorgusu = QStringLiteral("SELECT Sira_No,Fiyat_Aciklama,On_Deger FROM FIYATTANIM ORDER BY Sira_No");
const QString KartSutunSorgusu = QStringLiteral(
    "SELECT TOP 1 STOKKART.*,KDVGRUPLARI.Departman_No FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID");

// The current record's values as file texts; a value that would break the file stops the
// export with the card (or table) and the column named.
QStringList KayitDegerleri(const Recordset &rs, int sutunSayisi, const QString &nerede)
{
    QStringList degerler;
    for (int i = 0; i < sutunSayisi; ++i) {
        const QString metin = rs.Metin(i);
        const QString neden = DegerYazilamazNedeni(metin);
        if (!neden.isEmpty())
            throw Hata(QStringLiteral("%1, %2 sütunu: %3.").arg(nerede, rs.FieldName(i), neden));
        degerler << metin;
    }
    return degerler;
}

// Only an integer id goes into the statements.
QString KimlikMetni(const QString &metin)
{
    bool tamam = false;
    const qlonglong id = metin.trimmed().toLongLong(&tamam);
    if (!tamam)
        throw Hata(QStringLiteral("Listedeki Stok_ID geçersiz: '%1'").arg(metin));
    return QString::number(id);
}

// One card's statement: prepared once with the id bound, so that the database does not
// compile it anew for every card. Should that fail, the statement is sent with the id written
// in, which reports the failure as every other statement does.
void KartOku(Recordset &rs, const QString &bas, const QString &id, const QString &son)
{
    try {
        rs.Ac(Baglanti, bas + QStringLiteral("?") + son, {QVariant(id.toLongLong())});
    } catch (const Hata &) {
        RecordsetAc(rs, bas + id + son);
    }
}

// The cards of the next rows of the list and their price rows, read with one statement each
// instead of two per card. A card the part does not hold (the list changed meanwhile, or the
// part could not be read) is read on its own as before.
class KartParcasi
{
public:
    static constexpr int Boyut = 256;

    KartParcasi(const QString &kartSatiri, const QString &fiyatOnEki)
    {
        if (kartSatiri.isEmpty())
            return;
        const qsizetype from = kartSatiri.indexOf(QLatin1String(" FROM "));
        m_kartBasi = kartSatiri.left(from) + QStringLiteral(",STOKKART.Stok_ID") + kartSatiri.mid(from)
                     + QStringLiteral(" AND STOKKART.Stok_ID IN (");
        m_fiyatBasi = fiyatOnEki + QStringLiteral(" WHERE Stok_ID IN (");
    }

    void Oku(const QVector<qlonglong> &idler)
    {
        m_kartlar.clear();
        m_fiyatlar.clear();
        kartlar.Kapat();
        fiyatlar.Kapat();
        if (m_kartBasi.isEmpty() || idler.isEmpty())
            return;
        QString yerler = QStringLiteral("?");
        QVector<QVariant> degerler{idler[0]};
        for (int i = 1; i < idler.size(); ++i) {
            yerler += QStringLiteral(",?");
            degerler << idler[i];
        }
        try {
            kartlar.Ac(Baglanti, m_kartBasi + yerler + QLatin1Char(')'), degerler);
            fiyatlar.Ac(Baglanti, m_fiyatBasi + yerler + QStringLiteral(") ORDER BY Stok_ID,Fiyat_Sira_No"), degerler);
        } catch (const Hata &) {
            kartlar.Kapat();
            fiyatlar.Kapat();
            return;
        }
        const int kartId = kartlar.FieldCount() - 1;
        for (int i = 0; i < kartlar.RecordCount(); ++i) {
            kartlar.SatiraGit(i);
            const QVariant id = kartlar.Deger(kartId);
            // Two cards under one id cannot be told apart here: such an id is read on its own.
            auto it = m_kartlar.find(id.toLongLong());
            if (it == m_kartlar.end())
                m_kartlar.insert(id.toLongLong(), i);
            else
                *it = -1;
        }
        fiyatSutunu = fiyatlar.FieldCount();
        for (int i = 0; i < fiyatlar.RecordCount(); ++i) {
            fiyatlar.SatiraGit(i);
            const qlonglong id = fiyatlar.Deger(1).toLongLong();
            auto it = m_fiyatlar.find(id);
            if (it == m_fiyatlar.end())
                m_fiyatlar.insert(id, {i, i + 1});
            else
                it->second = i + 1;
        }
    }

    // Stands the card part on the card and the price part on its first row; `fiyatSonu` is
    // where its rows end.
    bool KartaGit(qlonglong id, int &fiyatSonu)
    {
        const int satir = m_kartlar.value(id, -1);
        if (satir < 0)
            return false;
        kartlar.SatiraGit(satir);
        const auto f = m_fiyatlar.value(id, {fiyatlar.RecordCount(), fiyatlar.RecordCount()});
        fiyatlar.SatiraGit(f.first);
        fiyatSonu = f.second;
        return true;
    }

    Recordset kartlar, fiyatlar;
    int fiyatSutunu = 0;

private:
    QString m_kartBasi, m_fiyatBasi;
    QHash<qlonglong, int> m_kartlar;
    QHash<qlonglong, QPair<int, int>> m_fiyatlar;
};

} // namespace

DisaAktarimSayilari AktarimDosyasiYaz(const QString &yol, const SonucListesi &Fisgrd, const AktarimSecimi &secim)
{
    DisaAktarimSayilari sayilar;
    AktarimYazici dosya(yol);
    // Other programs may write meanwhile: a card and its prices come from one moment.
    TutarliOkuma okuma(Baglanti);

    dosya.SatirYaz(Etiket::KdvGruplari);
    RecordsetAc(ListeRS, KdvSorgusu);
    Operator().MesajLblYaz(QStringLiteral("KDV GRUPLARI Oluşturuluyor....."));
    KartBar().Ayarla(ListeRS.RecordCount(), 0);
    Operator().FrameBarGoster(true);
    while (!ListeRS.Eof()) {
        dosya.SatirYaz(DegerSatiri(KayitDegerleri(ListeRS, ListeRS.FieldCount(), QStringLiteral("KDVGRUPLARI"))));
        ++sayilar.kdvGrubu;
        IlerlemeArttir(KartBar(), 1);
        Operator().BekleyenOlaylariIsle();
        ListeRS.MoveNext();
    }

    dosya.SatirYaz(Etiket::FiyatTanim);
    RecordsetAc(ListeRS, FiyatTanimSorgusu);
    Operator().MesajLblYaz(QStringLiteral("FİYAT TANIMLARI Oluşturuluyor....."));
    KartBar().Ayarla(ListeRS.RecordCount(), 0);
    Operator().FrameBarGoster(true);
    while (!ListeRS.Eof()) {
        dosya.SatirYaz(DegerSatiri(KayitDegerleri(ListeRS, ListeRS.FieldCount(), QStringLiteral("FIYATTANIM"))));
        ++sayilar.fiyatTanimi;
        ListeRS.MoveNext();
        IlerlemeArttir(KartBar(), 1);
        Operator().BekleyenOlaylariIsle();
    }
    Operator().FrameBarGoster(false);

    QString kartSatiri;
    QString fiyatOnEki;
    int degerSayisi = 0;
    if (Fisgrd.Rows() > 1) {
        dosya.SatirYaz(Etiket::StokKart);
        RecordsetAc(ListeRS, KartSutunSorgusu);
        degerSayisi = ListeRS.FieldCount() - 2;
        dosya.SatirYaz(SayiSatiri(degerSayisi));
        QStringList adlar;
        for (int i = 0; i < ListeRS.FieldCount(); ++i)
            adlar << ListeRS.FieldName(i);
        kartSatiri = KartSutunSatiri(adlar);
        dosya.SatirYaz(kartSatiri);
        dosya.SatirYaz(Etiket::StokFiyat);
        fiyatOnEki = FiyatOnEki(secim.Satis_Dahil, secim.Alis_Dahil);
        dosya.SatirYaz(fiyatOnEki);
    }

    Operator().MesajLblYaz(QStringLiteral("Dosya Oluşturuluyor....."));
    KartBar().Ayarla(Fisgrd.Rows(), 0);
    Operator().FrameBarGoster(true);
    const int idSutunu = Fisgrd.ColIndex(QStringLiteral("Stok_ID"));
    KartParcasi parca(kartSatiri, fiyatOnEki);
    int parcaSonu = 1;
    // The list is read again before every row: rows removed meanwhile are left out.
    for (int r = 1; r < Fisgrd.Rows(); ++r) {
        dosya.SatirYaz(Etiket::Stok);
        const QString id = KimlikMetni(Fisgrd.TextMatrix(r, idSutunu));
        if (r >= parcaSonu) {
            if (r > 1)
                okuma.YeniParca();
            parcaSonu = qMin(Fisgrd.Rows(), r + KartParcasi::Boyut);
            QVector<qlonglong> idler;
            for (int p = r; p < parcaSonu; ++p) {
                bool tamam = false;
                const qlonglong k = Fisgrd.TextMatrix(p, idSutunu).trimmed().toLongLong(&tamam);
                if (tamam)
                    idler << k;
            }
            parca.Oku(idler);
        }
        Recordset *kartRS = &ListeRS;
        Recordset *fiyatRS = &ListeRS;
        int fiyatSonu = -1;
        if (parca.KartaGit(id.toLongLong(), fiyatSonu)) {
            kartRS = &parca.kartlar;
            fiyatRS = &parca.fiyatlar;
        } else {
            KartOku(ListeRS, kartSatiri + QStringLiteral(" AND Stok_ID="), id, QString());
        }
        if (kartRS->Eof())
            throw Hata(QStringLiteral("Listedeki %1 numaralı stok kartı veritabanında bulunamadı.").arg(id));
        const QString stokKod = kartRS->Metin(0);
        const QString kart = QStringLiteral("Stok kodu %1").arg(stokKod);
        dosya.SatirYaz(DegerSatiri(KayitDegerleri(*kartRS, degerSayisi, kart)));
        ++sayilar.kart;

        if (kartRS == &ListeRS)
            KartOku(ListeRS, fiyatOnEki + QStringLiteral(" WHERE Stok_ID="), id, QStringLiteral(" ORDER BY Fiyat_Sira_No"));
        const int fiyatSutunu = fiyatRS == &ListeRS ? ListeRS.FieldCount() : parca.fiyatSutunu;
        while (!fiyatRS->Eof() && (fiyatSonu < 0 || fiyatRS->Konum() < fiyatSonu)) {
            bool tamam = false;
            const int seviye = fiyatRS->Metin(0).toInt(&tamam);
            if (!tamam || seviye < 0 || seviye > 10)
                throw Hata(QStringLiteral("%1: fiyat seviyesi %2, 0 ile 10 arasında değil.").arg(kart, fiyatRS->Metin(0)));
            if (secim.Fiyat_Secimi[size_t(seviye)]) {
                dosya.SatirYaz(DegerSatiri(KayitDegerleri(*fiyatRS, fiyatSutunu, kart)));
                ++sayilar.fiyatSatiri;
            }
            fiyatRS->MoveNext();
        }
        IlerlemeArttir(KartBar(), 1);
        if (r % 20 == 0)
            Operator().BekleyenOlaylariIsle();
    }

    dosya.SatirYaz(Etiket::Son);
    okuma.Bitir();
    dosya.Tamamla();
    return sayilar;
}

void DosyaOlustur(const SonucListesi &Fisgrd, const AktarimSecimi &secim)
{
    const auto secilen = Operator().DosyaSec(OncekiDosyaOku(), Etkilesim::Dosya::Kaydet);
    if (!secilen || secilen->isEmpty())
        return;
    const QString yol = *secilen;
    if (QFileInfo::exists(yol)
        && Operator().Mesaj(QStringLiteral("Dosya Var Üzerine Yazılacktır.Onaylıyormusunuz"), Etkilesim::Simge::Soru,
                            Etkilesim::Dugmeler::EvetHayir)
               != Etkilesim::Evet)
        return;
    try {
        OncekiDosyaYaz(yol);
        AktarimDosyasiYaz(yol, Fisgrd, secim);
    } catch (const Hata &hata) {
        Operator().Mesaj(QStringLiteral("Transfer Dosyası Oluşturulamadı.\r") + hata.Aciklama(), Etkilesim::Simge::Kritik);
        return;
    }
    KartBar().DegerYaz(KartBar().Maksimum());
    Operator().Mesaj(QStringLiteral("İşlem Tamamlandı"));
    Operator().FrameBarGoster(false);
}

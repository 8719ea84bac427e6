#include "support/IceAktarimDenetimi.h"

#include "common/Etkilesim.h"
#include "common/Saat.h"
#include "filter/AktarimSecimi.h"
#include "filter/SonucListesi.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "transfer/DosyaOlustur.h"
#include "support/TestVeritabani.h"
#include "support/VeritabaniOzeti.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <exception>
#include <stdexcept>

using namespace Degiskenler;

namespace {

const QString Hedef = QStringLiteral("FIRMA02");
// The target as set up, to put it back from.
const QString HedefIlk = QStringLiteral("FIRMA02_ILK");

void DosyaYaz(const QString &yol, const QByteArray &icerik)
{
    QFile f(yol);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(icerik) != icerik.size())
        throw std::runtime_error("cannot write " + yol.toStdString());
}

} // namespace

IceAktarimDenetimi::IceAktarimDenetimi()
    : m_db(std::make_unique<TestVeritabani>()), m_operator(std::make_unique<SessizEtkilesim>())
{
    OperatorKur(m_operator.get());
    BugunuAyarla(QDate(2026, 5, 14));
    m_db->DemoYaz(12, 2);
    m_dosyaYolu = QDir(m_db->Klasor()).filePath(QStringLiteral("girdi.trn"));

    // A real export of the source, as a seed and as a check that the set-up works.
    m_db->Baglan(QStringLiteral("FIRMA01"));
    const auto idler = m_db->Satirlar(QStringLiteral("FIRMA01"), QStringLiteral("SELECT Stok_ID FROM STOKKART WHERE Aciklama IS NULL "
                                                                                 "OR Aciklama NOT LIKE '%;%' ORDER BY Stok_Kod"));
    SonucListesi liste;
    liste.SetRows(int(idler.size()) + 1);
    for (int r = 0; r < idler.size(); ++r)
        liste.SetTextMatrix(r + 1, liste.ColIndex(QStringLiteral("Stok_ID")), idler[r][0].toString());
    AktarimSecimi secim;
    secim.Satis_Dahil = secim.Alis_Dahil = true;
    std::fill(secim.Fiyat_Secimi.begin() + 1, secim.Fiyat_Secimi.end(), true); // every level (0 is none)
    const QString ornekYolu = QDir(m_db->Klasor()).filePath(QStringLiteral("ornek.trn"));
    AktarimDosyasiYaz(ornekYolu, liste, secim);
    QFile ornek(ornekYolu);
    if (!ornek.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the sample export");
    m_ornek = ornek.readAll();
    Baglanti.Kapat();

    m_db->Kopyala(Hedef, HedefIlk);
    m_db->Baglan(Hedef);
    m_ozetIlk = VeritabaniOzeti(*m_db, Hedef);
}

IceAktarimDenetimi::~IceAktarimDenetimi()
{
    Sifirla();
    OperatorKur(nullptr);
    BugunuAyarla(QDate());
}

void IceAktarimDenetimi::HedefiGeriYukle()
{
    if (TestVeritabani::SqlServerMi()) {
        m_db->SatirlariGeriYukle(HedefIlk, Hedef);
        return;
    }
    Baglanti.Kapat();
    QFile::remove(m_db->Yol(Hedef) + QStringLiteral("-wal"));
    QFile::remove(m_db->Yol(Hedef) + QStringLiteral("-shm"));
    m_db->Kopyala(HedefIlk, Hedef);
    m_db->Baglan(Hedef);
}

QString IceAktarimDenetimi::Dene(const QByteArray &icerik, IceAktarimOzeti *ozetCikti)
{
    DosyaYaz(m_dosyaYolu, icerik);
    IceAktarimOzeti ozet;
    QString sorun;
    try {
        ozet = AktarimDosyasiUygula(m_dosyaYolu);
    } catch (const Hata &hata) {
        sorun = QStringLiteral("the import let an error escape: ") + hata.Aciklama();
    } catch (const std::exception &hata) {
        sorun = QStringLiteral("the import let an exception escape: ") + QString::fromLocal8Bit(hata.what());
    }
    if (ozetCikti)
        *ozetCikti = ozet;
    if (sorun.isEmpty() && Baglanti.IslemDerinligi() != 0)
        sorun = QStringLiteral("a transaction was left open (depth %1)").arg(Baglanti.IslemDerinligi());
    while (Baglanti.IslemDerinligi() > 0)
        Baglanti.IslemGeriAl();
    const int yazilan = ozet.kartOlusturulan + ozet.kartGuncellenen + ozet.fiyatOlusturulan + ozet.fiyatGuncellenen
                        + ozet.fiyatTanimiEklenen + ozet.fiyatTanimiGuncellenen;
    if (sorun.isEmpty() && ozet.basarili != ozet.mesaj.isEmpty())
        sorun = ozet.basarili ? QStringLiteral("a successful import carries a failure message: ") + ozet.mesaj
                              : QStringLiteral("a failed import without its message");
    const bool degisti = VeritabaniOzeti(*m_db, Hedef) != m_ozetIlk;
    if (degisti && yazilan == 0 && sorun.isEmpty())
        sorun = QStringLiteral("the target changed although the import reports no write (%1)")
                    .arg(ozet.basarili ? QStringLiteral("succeeded") : ozet.mesaj);
    // The target is sound, so nothing but the file can be refused: a refused file changes nothing.
    if (degisti && !ozet.basarili && sorun.isEmpty())
        sorun = QStringLiteral("a refused file changed the target: ") + ozet.mesaj;
    if (degisti)
        HedefiGeriYukle();
    return sorun;
}

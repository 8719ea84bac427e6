#include "support/AktarimOrtami.h"

#include "common/KodSayfasi.h"
#include "common/ProgramKlasoru.h"
#include "common/Saat.h"
#include "state/Degiskenler.h"
#include "transfer/DosyaOlustur.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

AktarimOrtami::AktarimOrtami(int kartSayisi, int fiyatSayisi)
{
    // The kept change reports: in a folder of this process's own, since one test deletes it and
    // several runs of a program may go at once.
    static const QString ad = QCoreApplication::applicationName() + QLatin1Char('-') + QString::number(QCoreApplication::applicationPid());
    QCoreApplication::setApplicationName(ad);
    QStandardPaths::setTestModeEnabled(true);
    db.DemoYaz(kartSayisi, fiyatSayisi);
    ProgramKlasorunuAyarla(program.path());
    BugunuAyarla(QDate(2026, 5, 14));
}

AktarimOrtami::~AktarimOrtami()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    Degiskenler::Sifirla();
    ProgramKlasorunuAyarla(QString());
    BugunuAyarla(QDate());
}

AktarimSecimi AktarimOrtami::Secim(bool satis, bool alis, QList<int> seviyeler)
{
    AktarimSecimi s;
    s.Satis_Dahil = satis;
    s.Alis_Dahil = alis;
    for (int i : seviyeler)
        s.Fiyat_Secimi[size_t(i)] = true;
    return s;
}

void AktarimOrtami::Listele(const QString &firma, const QString &sql)
{
    db.Baglan(firma);
    const auto satirlar = db.Satirlar(firma, sql);
    liste.SetRows(1);
    liste.SetRows(int(satirlar.size()) + 1);
    for (int r = 0; r < satirlar.size(); ++r)
        liste.SetTextMatrix(r + 1, liste.ColIndex(QStringLiteral("Stok_ID")), satirlar[r][0].toString());
}

QString AktarimOrtami::Dosya(const QString &firma, const QString &sql, const AktarimSecimi &secim, const QString &ad)
{
    Listele(firma, sql);
    const QString yol = Yol(ad);
    AktarimDosyasiYaz(yol, liste, secim);
    // What the export showed is not the test's subject.
    op.frameBarGorunur = false;
    op.mesajLbl.clear();
    op.yuzdeler.clear();
    return yol;
}

QStringList AktarimOrtami::Satirlar(const QString &yol) const
{
    QFile f(yol);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList satirlar = Windows1254ten(f.readAll()).split(QStringLiteral("\r\n"));
    satirlar.removeLast();
    return satirlar;
}

void AktarimOrtami::SatirlariYaz(const QString &yol, const QStringList &satirlar) const
{
    QFile f(yol);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(*Windows1254e(satirlar.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

QStringList AktarimOrtami::KartAdlari(const QString &yol) const
{
    const QStringList s = Satirlar(yol);
    QString adlar = s.value(int(s.indexOf(QStringLiteral("<STOKKART>"))) + 2).section(QLatin1Char(' '), 1, 1);
    return adlar.remove(QStringLiteral("STOKKART.")).split(QLatin1Char(','));
}

IceAktarimOzeti AktarimOrtami::IceAktar(const QString &firma, const QString &yol)
{
    db.Baglan(firma);
    op.Bekle(AktarimBeklentileri::Basari, Etkilesim::Simge::Yok);
    // (a failure shows as the strict operator's unexpected message, naming it)
    return AktarimDosyasiUygula(yol);
}

QStringList AktarimOrtami::Tablo(const QString &firma, const QString &sql)
{
    QStringList sonuc;
    for (const auto &satir : db.Satirlar(firma, sql)) {
        QStringList s;
        for (const QVariant &d : satir)
            s << (d.isNull() ? QStringLiteral("NULL") : d.toString());
        sonuc << s.join(QLatin1Char('|'));
    }
    return sonuc;
}

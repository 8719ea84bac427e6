#include "filter/SorguOlusturucu.h"

#include "common/Etkilesim.h"
#include "filter/AktarimSecimi.h"
#include "filter/FiltreTablosu.h"
#include "state/Degiskenler.h"

#include <QDate>
#include <QRegularExpression>

using Degiskenler::ListeSQL;
using Degiskenler::WhereVar;

const QString ListeTemelSQL = QStringLiteral(
    "SELECT STOKKART.Stok_ID, STOKKART.Stok_Kod,STOKKART.Stok_Ad,KDVGRUPLARI.Departman_No,"
    "AKTIFSTOKFIYAT.Ana_Birim_Fiyat FROM KDVGRUPLARI,STOKKART LEFT JOIN AKTIFSTOKFIYAT "
    "ON(STOKKART.Stok_ID=AKTIFSTOKFIYAT.Stok_ID AND AKTIFSTOKFIYAT.On_Deger=1) "
    "WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID ");

namespace {

const QString VE = QStringLiteral(" AND ");

QString Bas(const FiltreTablosu &g, int r) { return g.Hucre(r, QStringLiteral("Baslangic")); }
QString Bit(const FiltreTablosu &g, int r) { return g.Hucre(r, QStringLiteral("Bitis")); }
QString Lbl(const FiltreTablosu &g, int r) { return g.Hucre(r, QStringLiteral("FiltreLbl")); }

// The one place a cell value becomes SQL text. Quoted values get their apostrophes doubled,
// so a name like O'NEIL is searched for instead of breaking (or rewriting) the statement.
// Unquoted values must be numbers; a decimal comma is written as the point SQL reads.
// Nothing when the value cannot go in unquoted; the operator is told which row is wrong.
std::optional<QString> SqlDegeri(const FiltreTablosu &g, int satir, const QString &deger, const QString &ayirac)
{
    // A NUL would end the statement text early.
    if (deger.contains(QChar(0))) {
        Operator().Mesaj(QStringLiteral("%1 alanına girilen değer kullanılamayan bir karakter içeriyor.").arg(Lbl(g, satir)),
                         Etkilesim::Simge::Kritik);
        return std::nullopt;
    }
    if (ayirac != QLatin1String("1"))
        return QLatin1Char('\'') + QString(deger).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    static const QRegularExpression sayi(QStringLiteral("^[+-]?\\d+([.,]\\d+)?$"));
    if (!sayi.match(deger).hasMatch()) {
        Operator().Mesaj(QStringLiteral("%1 alanına sayısal bir değer girmelisiniz.").arg(Lbl(g, satir)),
                         Etkilesim::Simge::Kritik);
        return std::nullopt;
    }
    return QString(deger).replace(QLatin1Char(','), QLatin1Char('.'));
}

void Gecersiz(bool *gecerli)
{
    if (gecerli)
        *gecerli = false;
}

bool GorunurVeEvet(const FiltreTablosu &g, int r, const QString &baslik)
{
    return Lbl(g, r) == baslik && !g.RowHidden(r) && Bas(g, r) == QLatin1String("Evet");
}

QString SeviyeKosulu(const FiltreTablosu &g, const QString &baslik, const QString &sutun)
{
    for (int r = 1; r < g.Rows(); ++r) {
        if (Lbl(g, r) != baslik || g.RowHidden(r))
            continue;
        const QString b = Bas(g, r);
        QString op;
        if (b == QStringLiteral("Küçük"))
            op = QStringLiteral("<");
        else if (b == QStringLiteral("Eşit"))
            op = QStringLiteral("=");
        else if (b == QStringLiteral("Büyük"))
            op = QStringLiteral(">");
        else
            return QString();
        return QStringLiteral(" AND STOKKART.Stok_ID=ANY(SELECT Stok_ID FROM SB WHERE SB.Kalan") + op
               + QStringLiteral("STOKKART.") + sutun + QLatin1Char(')');
    }
    return QString();
}

} // namespace

QString SqlTarihi(const QString &tarih)
{
    static const QRegularExpression bicim(QStringLiteral("^\\d\\d\\D\\d\\d\\D\\d\\d\\d\\d$"));
    if (!bicim.match(tarih).hasMatch())
        return QString();
    const QDate gun(tarih.mid(6, 4).toInt(), tarih.mid(3, 2).toInt(), tarih.mid(0, 2).toInt());
    if (!gun.isValid())
        return QString();
    return tarih.mid(3, 2) + QLatin1Char('/') + tarih.mid(0, 2) + QLatin1Char('/') + tarih.mid(6, 4);
}

QString AralikKosulu(const FiltreTablosu &g, int satir, const QString &alan, const QString &ayirac, bool *gecerli)
{
    QString sonuc;
    const QString b = Bas(g, satir);
    const QString e = Bit(g, satir);
    if (!b.isEmpty()) {
        if (const auto d = SqlDegeri(g, satir, b, ayirac))
            sonuc += VE + alan + QStringLiteral(" >=") + *d;
        else
            Gecersiz(gecerli);
    }
    if (!e.isEmpty()) {
        if (const auto d = SqlDegeri(g, satir, e, ayirac))
            sonuc += VE + alan + QStringLiteral("<=") + *d;
        else
            Gecersiz(gecerli);
    }
    return sonuc;
}

QString EsitlikKosulu(const FiltreTablosu &g, int satir, const QString &alan, const QString &ayirac, bool *gecerli)
{
    const QString b = Bas(g, satir);
    if (b.isEmpty() || b == QLatin1String("Farketmez") || b == QLatin1String("Hepsi"))
        return QString();
    const auto d = SqlDegeri(g, satir, b, ayirac);
    if (!d) {
        Gecersiz(gecerli);
        return QString();
    }
    return VE + alan + QLatin1Char('=') + *d;
}

QString TarihAraligiKosulu(const FiltreTablosu &g, int satir, const QString &alan)
{
    const QString bas = SqlTarihi(Bas(g, satir));
    const QString bit = SqlTarihi(Bit(g, satir));
    QString sonuc;
    if (!bas.isEmpty())
        sonuc += VE + alan + QStringLiteral(" >= '") + bas + QLatin1Char('\'');
    if (!bit.isEmpty())
        sonuc += VE + alan + QStringLiteral(" <= '") + bit + QLatin1Char('\'');
    return sonuc;
}

qint16 BarkodTipiKodu(const QString &ad)
{
    static const QStringList adlar = {
        QStringLiteral("HİÇBİRİ"), QStringLiteral("EAN 13"), QStringLiteral("EAN 8"), QStringLiteral("CODE 39"),
        QStringLiteral("CODE 93"), QStringLiteral("CODE 128"), QStringLiteral("UPC-A"), QStringLiteral("UPC-E"),
        QStringLiteral("GRAMAJ"), QStringLiteral("ADETLİ")};
    const int i = adlar.indexOf(ad);
    return qint16(i < 0 ? 0 : i);
}

bool SorguOlustur(const FiltreTablosu &g, AktarimSecimi &hedef)
{
    // Built aside and handed over only when every value could go in: a refused statement
    // leaves the last good statement and the export choices made with it.
    bool gecerli = true;
    QString sql = ListeTemelSQL;
    AktarimSecimi secim = hedef;
    const int N = g.Rows();

    for (int i = 1; i <= 10; ++i)
        secim.Fiyat_Secimi[i] = Bas(g, N - 11 + i) == QLatin1String("Evet");

    for (int r = 1; r < N; ++r) {
        if (Lbl(g, r) != QStringLiteral("Alış/Satış"))
            continue;
        const QString b = Bas(g, r);
        secim.Alis_Dahil = b == QLatin1String("Hepsi") || b == QStringLiteral("Alış");
        secim.Satis_Dahil = b != QStringLiteral("Alış");
        break;
    }

    for (int r = 1; r < N; ++r) {
        if (g.Hucre(r, QStringLiteral("Girsin")) != QLatin1String("-1") || g.RowHidden(r))
            continue;
        const QString tip = g.Hucre(r, QStringLiteral("Tip"));
        const QString alan = g.Hucre(r, QStringLiteral("Alan"));
        const QString ayirac = g.Hucre(r, QStringLiteral("Ayirac"));
        if (tip == QLatin1String("GR"))
            sql += AralikKosulu(g, r, alan, ayirac, &gecerli);
        else if (tip == QLatin1String("TK"))
            sql += EsitlikKosulu(g, r, alan, ayirac, &gecerli);
        else if (tip == QLatin1String("TR"))
            sql += TarihAraligiKosulu(g, r, alan);
    }

    for (int r = 1; r < N; ++r) {
        if (GorunurVeEvet(g, r, QStringLiteral("Stoğa Yeni Giren")))
            sql += TarihAraligiKosulu(g, 1, g.Hucre(1, QStringLiteral("Alan")));
        if (GorunurVeEvet(g, r, QStringLiteral("Fiyatı Değişmiş")))
            sql += TarihAraligiKosulu(g, 1, QStringLiteral("STOKKART.Deg_Tarih"));
    }

    for (int r = 1; r < N; ++r)
        if (GorunurVeEvet(g, r, QStringLiteral("Fiyatı Belirlenmemiş")))
            sql += QStringLiteral(" AND NOT STOKKART.Stok_ID =ANY(SELECT Stok_ID FROM STOKFIYAT)");

    for (int r = 1; r < N; ++r) {
        if (Lbl(g, r) != QLatin1String("Barkod Tipi") || g.RowHidden(r))
            continue;
        if (Bas(g, r) != QLatin1String("Farketmez"))
            sql += QStringLiteral(" AND STOKKART.Ana_Birim_Barkod_Tipi =")
                   + QString::number(BarkodTipiKodu(Bas(g, r)));
        break;
    }

    sql += SeviyeKosulu(g, QStringLiteral("Minimum Seviye"), QStringLiteral("StokMinSeviye"));
    sql += SeviyeKosulu(g, QStringLiteral("Optimum Seviye"), QStringLiteral("StokOptSeviye"));
    sql += SeviyeKosulu(g, QStringLiteral("Maxsimum Seviye"), QStringLiteral("StokMaxSeviye"));

    sql += QStringLiteral(" ORDER BY STOKKART.Stok_Kod");
    if (!gecerli)
        return false;
    ListeSQL = sql;
    WhereVar = true;
    hedef = secim;
    Operator().PanoyaYaz(ListeSQL);
    return true;
}

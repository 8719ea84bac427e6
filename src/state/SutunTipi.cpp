#include "state/SutunTipi.h"

#include <QRegularExpression>

SutunBilgisi BildirilenTiptenSutun(const QString &bildirilenTip)
{
    static const QRegularExpression bicim(
        QStringLiteral(R"(^\s*([A-Za-z0-9 ]+?)\s*(?:\(\s*(\d+|max)\s*(?:,\s*(\d+)\s*)?\))?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    SutunBilgisi bilgi;
    const auto eslesme = bicim.match(bildirilenTip);
    if (!eslesme.hasMatch())
        return bilgi;
    const QString ad = eslesme.captured(1).toLower();
    const int uzunluk = eslesme.captured(2).toInt(); // "max": 0, unlimited
    const int ondalik = eslesme.captured(3).toInt();

    if (ad == u"tinyint")
        bilgi.tamSayiBayti = 1;
    else if (ad == u"smallint")
        bilgi.tamSayiBayti = 2;
    else if (ad == u"int")
        bilgi.tamSayiBayti = 4;
    else if (ad == u"bigint" || ad == u"integer") // SQLite's INTEGER key holds 64 bits
        bilgi.tamSayiBayti = 8;
    if (bilgi.tamSayiBayti > 0) {
        bilgi.tip = SutunTipi::TamSayi;
    } else if (ad == u"decimal" || ad == u"numeric") {
        bilgi.tip = SutunTipi::Ondalik;
        bilgi.basamak = uzunluk;
        bilgi.ondalik = uzunluk > 0 ? ondalik : 0;
    } else if (ad == u"money" || ad == u"smallmoney") {
        bilgi.tip = SutunTipi::Ondalik;
        bilgi.basamak = ad == u"money" ? 19 : 10;
        bilgi.ondalik = 4;
    } else if (ad == u"float" || ad == u"real" || ad == u"double") {
        bilgi.tip = SutunTipi::Ondalik;
    } else if (ad == u"bit") {
        bilgi.tip = SutunTipi::Bit;
    } else if (ad == u"datetime" || ad == u"smalldatetime" || ad == u"date" || ad == u"datetime2") {
        bilgi.tip = SutunTipi::Tarih;
        bilgi.tarihAraligi = ad == u"smalldatetime" ? TarihAraligi::SmallDateTime
                             : ad == u"datetime"    ? TarihAraligi::DateTime
                                                    : TarihAraligi::Date;
    } else if (ad == u"char" || ad == u"nchar") {
        bilgi.tip = SutunTipi::SabitMetin;
        bilgi.uzunluk = uzunluk;
    } else if (ad == u"varchar" || ad == u"nvarchar" || ad == u"text" || ad == u"ntext") {
        bilgi.tip = SutunTipi::DegiskenMetin;
        bilgi.uzunluk = uzunluk;
    }
    return bilgi;
}

QString SutunTipiAdi(const SutunBilgisi &sutun)
{
    switch (sutun.tip) {
    case SutunTipi::TamSayi:
        switch (sutun.tamSayiBayti) {
        case 1: return QStringLiteral("tinyint");
        case 2: return QStringLiteral("smallint");
        case 4: return QStringLiteral("int");
        default: return QStringLiteral("bigint");
        }
    case SutunTipi::Ondalik:
        return sutun.basamak > 0 ? QStringLiteral("decimal(%1,%2)").arg(sutun.basamak).arg(sutun.ondalik)
                                 : QStringLiteral("float");
    case SutunTipi::Bit:
        return QStringLiteral("bit");
    case SutunTipi::Tarih:
        return sutun.tarihAraligi == TarihAraligi::SmallDateTime ? QStringLiteral("smalldatetime")
               : sutun.tarihAraligi == TarihAraligi::Date        ? QStringLiteral("date")
                                                                 : QStringLiteral("datetime");
    case SutunTipi::SabitMetin:
        return QStringLiteral("char(%1)").arg(sutun.uzunluk);
    case SutunTipi::DegiskenMetin:
        return sutun.uzunluk > 0 ? QStringLiteral("varchar(%1)").arg(sutun.uzunluk) : QStringLiteral("text");
    case SutunTipi::Bilinmiyor:
        break;
    }
    return QStringLiteral("?");
}

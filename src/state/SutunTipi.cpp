#include "state/SutunTipi.h"

#include <QRegularExpression>

SutunBilgisi BildirilenTiptenSutun(const QString &bildirilenTip)
{
    static const QRegularExpression bicim(QStringLiteral(R"(^\s*([A-Za-z ]+?)\s*(?:\(\s*(\d+)\s*(?:,\s*\d+\s*)?\))?\s*$)"));
    SutunBilgisi bilgi;
    const auto eslesme = bicim.match(bildirilenTip);
    if (!eslesme.hasMatch())
        return bilgi;
    const QString ad = eslesme.captured(1).toLower();
    const int uzunluk = eslesme.captured(2).toInt();

    if (ad == u"int" || ad == u"integer" || ad == u"smallint" || ad == u"tinyint" || ad == u"bigint")
        bilgi.tip = SutunTipi::TamSayi;
    else if (ad == u"decimal" || ad == u"numeric" || ad == u"money" || ad == u"smallmoney"
             || ad == u"float" || ad == u"real" || ad == u"double")
        bilgi.tip = SutunTipi::Ondalik;
    else if (ad == u"bit")
        bilgi.tip = SutunTipi::Bit;
    else if (ad == u"datetime" || ad == u"smalldatetime" || ad == u"date" || ad == u"datetime2")
        bilgi.tip = SutunTipi::Tarih;
    else if (ad == u"char" || ad == u"nchar") {
        bilgi.tip = SutunTipi::SabitMetin;
        bilgi.uzunluk = uzunluk;
    } else if (ad == u"varchar" || ad == u"nvarchar" || ad == u"text" || ad == u"ntext") {
        bilgi.tip = SutunTipi::DegiskenMetin;
        bilgi.uzunluk = uzunluk;
    }
    return bilgi;
}

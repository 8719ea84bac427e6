#include "state/DegerMetin.h"

#include "state/Hata.h"

#include <QRegularExpression>
#include <cmath>

namespace {

QString TarihMetni(const QDateTime &zaman)
{
    if (!zaman.isValid())
        return QString();
    QString metin = zaman.date().toString(QStringLiteral("dd.MM.yyyy"));
    if (zaman.time() != QTime(0, 0))
        metin += QLatin1Char(' ') + zaman.time().toString(QStringLiteral("HH:mm:ss"));
    return metin;
}

bool DogruMu(const QVariant &deger)
{
    if (deger.typeId() == QMetaType::QString) {
        const QString metin = deger.toString().trimmed();
        if (metin.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (metin.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        return metin.toDouble() != 0;
    }
    return deger.toDouble() != 0;
}

QString MetinSayisi(const QVariant &deger)
{
    switch (deger.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Char: case QMetaType::UChar:
        return QString::number(deger.toLongLong());
    case QMetaType::Double: case QMetaType::Float:
        return SayiMetni(deger.toDouble());
    default: {
        // A numeric column handed over as text (ODBC decimals, SQLite numeric affinity).
        bool sayi = false;
        const double d = deger.toString().toDouble(&sayi);
        return sayi ? SayiMetni(d) : deger.toString();
    }
    }
}

[[noreturn]] void Reddet(const QString &metin, const QString &tur)
{
    throw Hata(QStringLiteral("'%1' değeri %2 sütununa yazılamaz.").arg(metin, tur));
}

double OndalikOku(const QString &metin, const QString &tur)
{
    static const QRegularExpression bicim(QStringLiteral(R"(^[+-]?(\d+(,\d*)?|,\d+)$)"));
    const QString kirpik = metin.trimmed();
    if (!bicim.match(kirpik).hasMatch())
        Reddet(metin, tur);
    QString c = kirpik;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    return c.toDouble();
}

} // namespace

QString SayiMetni(double sayi)
{
    if (sayi == 0)
        return QStringLiteral("0");
    if (std::isfinite(sayi) && std::fabs(sayi) < 1e15 && sayi == std::trunc(sayi))
        return QString::number(static_cast<qint64>(sayi));
    QString metin = QString::number(sayi, 'g', 15);
    if (metin.contains(QLatin1Char('e'))) {
        metin = QString::number(sayi, 'f', 15);
        while (metin.endsWith(QLatin1Char('0')))
            metin.chop(1);
        if (metin.endsWith(QLatin1Char('.')))
            metin.chop(1);
    }
    metin.replace(QLatin1Char('.'), QLatin1Char(','));
    return metin;
}

QString SQLiteTarihMetni(const QDateTime &zaman)
{
    return zaman.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime SQLiteTarihOku(const QString &metin)
{
    const QString m = metin.trimmed();
    for (const auto *bicim : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-ddTHH:mm:ss",
                              "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        QDateTime zaman = QDateTime::fromString(m, QLatin1String(bicim));
        if (zaman.isValid())
            return zaman;
    }
    return QDateTime();
}

QString DegerMetni(const QVariant &deger, SutunTipi tip)
{
    if (!deger.isValid() || deger.isNull())
        return QString();

    switch (tip) {
    case SutunTipi::Tarih:
        if (deger.typeId() == QMetaType::QDateTime)
            return TarihMetni(deger.toDateTime());
        if (deger.typeId() == QMetaType::QDate)
            return TarihMetni(QDateTime(deger.toDate(), QTime(0, 0)));
        {
            const QDateTime zaman = SQLiteTarihOku(deger.toString());
            return zaman.isValid() ? TarihMetni(zaman) : deger.toString();
        }
    case SutunTipi::Bit:
        return DogruMu(deger) ? QStringLiteral("True") : QStringLiteral("False");
    case SutunTipi::TamSayi:
    case SutunTipi::Ondalik:
        return MetinSayisi(deger);
    case SutunTipi::SabitMetin:
    case SutunTipi::DegiskenMetin:
        return deger.toString();
    case SutunTipi::Bilinmiyor:
        break;
    }

    switch (deger.typeId()) {
    case QMetaType::Bool:
        return deger.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime:
        return TarihMetni(deger.toDateTime());
    case QMetaType::QDate:
        return TarihMetni(QDateTime(deger.toDate(), QTime(0, 0)));
    case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort:
        return MetinSayisi(deger);
    default:
        return deger.toString();
    }
}

QVariant MetinDegeri(const QString &metin, const SutunBilgisi &sutun, bool sqliteIcin)
{
    switch (sutun.tip) {
    case SutunTipi::TamSayi: {
        if (metin.trimmed().isEmpty())
            Reddet(metin, QStringLiteral("sayı"));
        const double d = OndalikOku(metin, QStringLiteral("tamsayı"));
        if (d != std::trunc(d) || std::fabs(d) > 9.2e18)
            Reddet(metin, QStringLiteral("tamsayı"));
        return QVariant(static_cast<qlonglong>(d));
    }
    case SutunTipi::Ondalik:
        return QVariant(OndalikOku(metin, QStringLiteral("sayı")));
    case SutunTipi::Bit: {
        const QString m = metin.trimmed();
        bool deger;
        if (m.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            deger = true;
        else if (m.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            deger = false;
        else
            deger = OndalikOku(metin, QStringLiteral("evet/hayır")) != 0;
        return sqliteIcin ? QVariant(deger ? 1 : 0) : QVariant(deger);
    }
    case SutunTipi::Tarih: {
        const QString m = metin.trimmed();
        if (m.isEmpty())
            return QVariant(sqliteIcin ? QMetaType(QMetaType::QString) : QMetaType(QMetaType::QDateTime));
        QDateTime zaman;
        for (const auto *bicim : {"dd.MM.yyyy HH:mm:ss", "dd.MM.yyyy", "dd.MM.yyyy HH:mm", "d.M.yyyy H:mm:ss", "d.M.yyyy"}) {
            zaman = QDateTime::fromString(m, QLatin1String(bicim));
            if (zaman.isValid())
                break;
        }
        if (!zaman.isValid())
            Reddet(metin, QStringLiteral("tarih"));
        return sqliteIcin ? QVariant(SQLiteTarihMetni(zaman)) : QVariant(zaman);
    }
    case SutunTipi::SabitMetin:
    case SutunTipi::DegiskenMetin:
        if (sutun.uzunluk > 0 && metin.size() > sutun.uzunluk)
            throw Hata(QStringLiteral("'%1' değeri %2 karakterlik metin sütununa sığmıyor.")
                           .arg(metin).arg(sutun.uzunluk));
        return QVariant(metin);
    case SutunTipi::Bilinmiyor:
        break;
    }
    return QVariant(metin);
}

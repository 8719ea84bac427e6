#include "state/SqlLehcesi.h"

#include <QDate>
#include <QRegularExpression>

QString SQLiteLehcesine(const QString &sql)
{
    QString sonuc = sql;

    static const QRegularExpression top(QStringLiteral(R"(^(\s*SELECT\s+)TOP\s+(\d+)\s+)"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString limit;
    if (const auto e = top.match(sonuc); e.hasMatch()) {
        limit = QStringLiteral(" LIMIT ") + e.captured(2);
        sonuc.replace(e.capturedStart(), e.capturedLength(), e.captured(1));
    }

    static const QRegularExpression herhangi(QStringLiteral(R"(=\s*ANY\s*\(\s*SELECT\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    sonuc.replace(herhangi, QStringLiteral(" IN (SELECT"));

    static const QRegularExpression tarih(QStringLiteral(R"('(\d{2})/(\d{2})/(\d{4})')"));
    qsizetype bas = 0;
    QRegularExpressionMatch e;
    while ((e = tarih.match(sonuc, bas)).hasMatch()) {
        const QDate gun(e.captured(3).toInt(), e.captured(1).toInt(), e.captured(2).toInt());
        if (!gun.isValid()) {
            bas = e.capturedEnd();
            continue;
        }
        const QString yerine = QLatin1Char('\'') + gun.toString(QStringLiteral("yyyy-MM-dd"))
                               + QStringLiteral(" 00:00:00'");
        sonuc.replace(e.capturedStart(), e.capturedLength(), yerine);
        bas = e.capturedStart() + yerine.size();
    }

    if (!limit.isEmpty()) {
        while (sonuc.endsWith(QLatin1Char(' ')) || sonuc.endsWith(QLatin1Char(';')))
            sonuc.chop(1);
        sonuc += limit;
    }
    return sonuc;
}

#include "common/ui/QtTurkcesi.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool QtTurkcesiniKur()
{
    const QLocale turkce(QLocale::Turkish, QLocale::Turkey);
    QLocale::setDefault(turkce);
    static QTranslator *ceviri = nullptr;
    if (ceviri)
        return true;
    auto *yeni = new QTranslator(QCoreApplication::instance());
    if (!yeni->load(turkce, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete yeni;
        return false;
    }
    QCoreApplication::installTranslator(yeni);
    ceviri = yeni;
    return true;
}

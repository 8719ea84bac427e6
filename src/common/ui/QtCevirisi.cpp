#include "common/ui/QtCevirisi.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool QtCevirisiniYukle()
{
    static QTranslator *ceviri = nullptr;
    if (ceviri)
        return true;
    auto *yeni = new QTranslator(QCoreApplication::instance());
    if (!yeni->load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete yeni;
        return false;
    }
    QCoreApplication::installTranslator(yeni);
    ceviri = yeni;
    return true;
}

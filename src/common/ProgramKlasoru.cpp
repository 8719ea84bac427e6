#include "common/ProgramKlasoru.h"

#include <QCoreApplication>

namespace {
QString sabitKlasor;
}

QString ProgramKlasoru()
{
    return sabitKlasor.isEmpty() ? QCoreApplication::applicationDirPath() : sabitKlasor;
}

void ProgramKlasorunuAyarla(const QString &klasor)
{
    sabitKlasor = klasor;
}

#pragma once

#include <QByteArray>
#include <QString>

class TestVeritabani;

// Every row of every table of a company database, in a fixed order, hashed: equal exactly
// when nothing in the company changed.
QByteArray VeritabaniOzeti(TestVeritabani &db, const QString &firma);

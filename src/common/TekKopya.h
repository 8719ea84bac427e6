#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Keeps a second copy of the program from running for the same operator: a lock file in the
// operator's own runtime (or temporary) folder, held while the program runs and released
// when it ends. A lock left by a copy that crashed is recognised by its process number and
// taken over.
class TekKopyaKilidi
{
public:
    explicit TekKopyaKilidi(const QString &yol = VarsayilanYol());
    // False when another running copy holds the lock.
    bool Al();
    void Birak();

    static QString VarsayilanYol();

private:
    QLockFile m_kilit;
};

inline const QString BaskaKopyaMesaji = QStringLiteral("Programın Başka bir Kopyası Çalışıyor.");

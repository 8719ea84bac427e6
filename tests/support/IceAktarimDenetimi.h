#pragma once

#include "transfer/DosyadanAl.h"

#include <QByteArray>
#include <QString>
#include <memory>

class SessizEtkilesim;
class TestVeritabani;

// Runs arbitrary bytes as a transfer file through the whole import into a small target
// company, the operator answering Yes, and checks what must hold for any file: nothing
// escapes the import, no transaction is left open, and a file that is refused, or whose
// import reports no write, leaves every table of the target exactly as it was (by a checksum
// of every row). The target is put back after a file that changed it. Shared by the fuzzer
// and the corpus regression test; on the backend the test run chose (see TestVeritabani).
class IceAktarimDenetimi
{
public:
    IceAktarimDenetimi();
    ~IceAktarimDenetimi();

    // An empty text when every property held, else what broke.
    QString Dene(const QByteArray &icerik, IceAktarimOzeti *ozet = nullptr);

    // A real export of the source company (every card, both price groups), for seeds.
    QByteArray OrnekDosya() const { return m_ornek; }

private:
    void HedefiGeriYukle();

    std::unique_ptr<TestVeritabani> m_db;
    std::unique_ptr<SessizEtkilesim> m_operator;
    QString m_dosyaYolu;
    QByteArray m_ozetIlk; // the checksum of the target's tables as set up
    QByteArray m_ornek;
};

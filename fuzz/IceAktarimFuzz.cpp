// libFuzzer target: arbitrary bytes as a transfer file through the whole import.
#include "support/IceAktarimDenetimi.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace {
IceAktarimDenetimi *denetim = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication uygulama(*argc, *argv);
    denetim = new IceAktarimDenetimi;
    // The shared connection must close before Qt's own globals go at exit.
    std::atexit([] { delete denetim; denetim = nullptr; });
    // With ORNEK_DOSYA set, also write a real export for the corpus and stop.
    if (const char *cikti = std::getenv("ORNEK_DOSYA")) {
        if (FILE *f = std::fopen(cikti, "wb")) {
            const QByteArray ornek = denetim->OrnekDosya();
            std::fwrite(ornek.constData(), 1, size_t(ornek.size()), f);
            std::fclose(f);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *veri, size_t boyut)
{
    const QString sorun = denetim->Dene(QByteArray(reinterpret_cast<const char *>(veri), qsizetype(boyut)));
    if (!sorun.isEmpty()) {
        std::fprintf(stderr, "PROPERTY BROKEN: %s\n", sorun.toUtf8().constData());
        std::abort();
    }
    return 0;
}

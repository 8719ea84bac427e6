#pragma once

#include "transfer/DosyadanAl.h"

#include <QString>

class OnizlemeModeli;

// What the preview window shows: the import of `yol` run and rolled back.
struct Onizleme {
    QString yol;
    QString firma; // the target, "01 - MERKEZ MAĞAZA"
    IceAktarimOzeti ozet;
    OnizlemeModeli *model = nullptr;
};

// "ÖNİZLE": the file dialog as for DOSYADAN AL, the import as a dry run, then the preview
// window; a file the import refuses shows the import's message and no window. From the
// window the real import of the same file starts, with its question.
void Onizle();

// The preview window's save button: the file dialog, then the table as a report file.
void OnizlemeyiKaydet(const Onizleme &onizleme);

// The import after the operator's consent, with its change report: streamed into the
// per-user data folder (the last 20 kept) and, when anything changed, offered for saving.
IceAktarimOzeti RaporluAktar(const QString &yol);

#pragma once

#include <functional>

class QPrinter;
class QTableView;

// The print dialog step: prepares the printer, false when the operator cancelled.
using YazdirmaDiyalogu = std::function<bool(QPrinter &)>;
YazdirmaDiyalogu StandartYazdirmaDiyalogu();

// Prints the result list as the grid shows it (its visible columns, header row bold) on a
// white background, under the document name "Ravelko". The grid wears the print look only
// while printing and gets its own look back afterwards, also when the dialog is cancelled.
void ListeyiYazdir(QTableView &Fisgrd, const YazdirmaDiyalogu &diyalog);

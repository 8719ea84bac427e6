#pragma once

#include <QString>

class Recordset;

// The two routines every statement of the system goes through, on the shared connection.
// A failing statement is reported here (its description, then the statement itself, both
// critical); the routine returns normally with the recordset closed, and the caller fails
// at its next read of it. A statement that returns no rows (an UPDATE) runs and leaves the
// recordset closed.

// Read-only. On failure the statement text is also put on the clipboard.
void RecordsetAc(Recordset &rs, const QString &sql);
// The same for a statement that carries a secret: on failure `gosterilen` is shown and put on
// the clipboard in its place.
void RecordsetAc(Recordset &rs, const QString &sql, const QString &gosterilen);
// Updatable (new and changed rows are stored with UpdateBatch()).
void RecordsetAcDuzenle(Recordset &rs, const QString &sql);

#pragma once

// Installs Qt's own Turkish translation (file and print dialogs, standard texts) once for the
// running application; false when the translation is not installed on this machine.
bool QtCevirisiniYukle();

#include "common/Etkilesim.h"

namespace {
SessizEtkilesim varsayilan;
Etkilesim *gecerli = &varsayilan;
} // namespace

Etkilesim &Operator()
{
    return *gecerli;
}

void OperatorKur(Etkilesim *etkilesim)
{
    gecerli = etkilesim ? etkilesim : &varsayilan;
}

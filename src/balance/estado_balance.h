// Working variables of the monthly soil water balance that no other subsystem reads.
#pragma once

namespace medravolix {

struct EstadoBalance {};

}  // namespace medravolix

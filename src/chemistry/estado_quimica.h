// Working variables of the soil-solution chemistry that no other subsystem reads.
#pragma once

namespace medravolix {

struct EstadoQuimica {};

}  // namespace medravolix

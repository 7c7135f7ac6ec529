// The two options of the batch settings that choose a method. The core compares them as these
// values; only the settings dialog and the sheet writer know their captions and keywords.
#pragma once

#include <cstdint>

namespace medravolix {

// How the soil's water-holding capacity is assessed (OPCION_CAPACIDAD, 0 or 1).
enum class OpcionCapacidad : int16_t {
  Empirica = 0,           // field capacity and wilting point as read from the soil
  Pedotransferencia = 1,  // pedotransfer functions of sand, clay, organic matter and CaCO3
};

// The reference soil solution whose chemistry the batch computes (OPCION_SOLUCION): at field
// capacity, at saturation, or the drainage water leaving the profile.
enum class OpcionSolucion { CapacidadCampo, Saturacion, Drenaje };

}  // namespace medravolix

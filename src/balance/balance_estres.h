// The water-stress iteration around the layer balance: each month's transpiration (the basal
// crop coefficient) is lowered by a factor that grows with the logarithm of how full the
// month's root zone is, the demand is spread again and the balance rerun, until the annual
// actual ET changes by less than 0.01 % (at most 51 passes).
#pragma once

namespace medravolix {

struct Simulacion;

// Seventh step of the chain. Leaves the last balance run's results, the last pass's stressed
// ETC_MENSUAL, KC_MENSUAL and DEMANDA_ET_CAPA. Refuses negative monthly rainfall or irrigation
// and negative layer capacities, which would keep the balance from closing.
void BALANCE_CON_ESTRES(Simulacion& sim);

// Steps of one stress pass after its first balance run: root-zone storage and capacity of every
// month, the stress factor KS_MENSUAL, KCB_ESTRES, and the stressed KC_MENSUAL and ETC_MENSUAL.
// A month whose root zone has no capacity is not stressed (KS_MENSUAL = 1).
void aplicarEstresHidrico(Simulacion& sim);

}  // namespace medravolix

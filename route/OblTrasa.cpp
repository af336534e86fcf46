#include "route/OblTrasa.h"

// Placeholder until the route build lands: no route is ever built.
void ObliczTrase() {
    OpisTekst.clear();
    KomunikatyTrasy.clear();
    Trasa.Obliczona = false;
}

void PunktNaPikiecie(double, double&, double&) {}

double KatNaPikiecie(double) { return 0.0; }

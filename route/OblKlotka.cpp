#include "route/OblKlotka.h"

#include <cfloat>
#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

// Radial angle of Q on a circle about C in the convention of PunktKatowy.
double KatRadialny(TPunkt2D C, TPunkt2D Q, bool prawo) {
    const double dx = Q.X - C.X;
    const double dy = Q.Y - C.Y;
    return prawo ? std::atan2(dx, dy) : std::atan2(-dx, dy);
}

}  // namespace

double Odleglosc2D(double x1, double y1, double x2, double y2) {
    return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

double KierunekOdcinka(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (std::fabs(dx) < 0.0001 && dy > 0) return pi / 2;
    if (std::fabs(dx) < 0.0001 && dy < 0) return 3 * pi / 2;
    double kat = std::atan(dy / dx);
    if (dx < 0) kat += pi;
    if (dx > 0 && dy < 0) kat += 2 * pi;
    return kat;
}

double KatWektora(double dx, double dy) {
    double kat = std::atan2(dy, dx);
    if (!std::isfinite(kat)) return 0.0;
    if (kat < 0) kat += 2 * pi;
    if (kat >= 2 * pi) kat = 0.0;  // a tiny negative angle rounds up to 2*pi
    return kat;
}

void ProstaPrzezPunkty(double x1, double y1, double x2, double y2, double& a, double& b) {
    if (std::fabs(x1 - x2) > 0.01) {
        a = (y1 - y2) / (x1 - x2);
        b = y1 - a * x1;
    } else {
        a = 1e9;
        b = 0.0;
    }
}

TPunkt2D PunktKatowy(TPunkt2D C, double R, double psi, bool prawo) {
    const double s = std::sin(psi);
    const double c = std::cos(psi);
    return prawo ? TPunkt2D{C.X + R * s, C.Y + R * c} : TPunkt2D{C.X - R * s, C.Y + R * c};
}

TKlotoida ObliczKlotoide(double R, double A) {
    TKlotoida k;
    k.R = R;
    k.A = A;
    k.L = A * A / R;
    k.Tau = k.L / (2 * R);
    const double L = k.L;
    const double L2 = L * L;
    const double L3 = L2 * L;
    const double L5 = L3 * L2;
    const double L7 = L5 * L2;
    const double L9 = L7 * L2;
    const double A2 = A * A;
    const double A4 = A2 * A2;
    const double A6 = A4 * A2;
    const double A8 = A4 * A4;
    k.Xk = L - L5 / (40 * A4) + L9 / (3456 * A8);
    k.Yk = L3 / (6 * A2) - L7 / (336 * A6);
    k.Xs = k.Xk - R * std::sin(k.Tau);
    k.Ys = k.Yk + R * std::cos(k.Tau);
    k.dR = k.Ys - R;
    return k;
}

TPunkt2D PunktKlotoidy(TPunkt2D S, double theta, double A, double l, bool prawo) {
    // Local frame: x along the tangent at the start, y towards the turn.
    const double q = l / A;
    const double q2 = q * q;
    const double q4 = q2 * q2;
    const double q6 = q4 * q2;
    const double q8 = q4 * q4;
    const double q10 = q8 * q2;
    const double q12 = q8 * q4;
    const double x = l * (1 - q4 / 40 + q8 / 3456 - q12 / 599040);
    double y = l * (q2 / 6 - q6 / 336 + q10 / 42240);
    if (prawo) y = -y;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    return {S.X + x * c - y * s, S.Y + x * s + y * c};
}

void GraniceA(float R, float delta, const TParametryProjektowe& p, float& Amin, float& Amax) {
    Amin = 0.0f;
    Amax = 100000.0f;
    // Lateral acceleration may change by at most kMax per second at speed V.
    const float V = p.PredkoscV;
    const float dynamiczny = std::sqrt(V * V * V / (47.0f * p.kMax));
    if (dynamiczny > Amin) Amin = dynamiczny;
    // The road edge may rise along the clothoid by at most iMax.
    const float rampa = std::sqrt(R * p.Bkr * p.dI / p.iMax);
    if (rampa > Amin) Amin = rampa;
    // Both clothoids together may not use up the deflection.
    const float luk = R * std::sqrt(delta);
    if (luk < Amax) Amax = luk;
}

TElementTrasy ObliczLuk(TPunkt2D P, TPunkt2D V, TPunkt2D N, double R, double A1, double A2,
                        const TParametryProjektowe* granice) {
    TElementTrasy e;
    e.X = V.X;
    e.Y = V.Y;
    e.JestLuk = true;
    e.JestKlotoida = false;
    e.R = R;

    // Unit directions of the legs, the turn side and the deflection.
    const TPunkt2D d1 = (V - P) * (1.0 / std::hypot(V.X - P.X, V.Y - P.Y));
    const TPunkt2D d2 = (N - V) * (1.0 / std::hypot(N.X - V.X, N.Y - V.Y));
    const double sinD = IloczynWektorowy(d1, d2);  // > 0: left turn
    const double cosD = IloczynSkalarny(d1, d2);
    const bool prawo = sinD < 0;
    const double sinDelta = std::fabs(sinD);
    const double delta = std::atan2(sinDelta, cosD);
    // Normal of the first leg pointing to the inner side of the bend.
    const double strona = prawo ? -1.0 : 1.0;
    const TPunkt2D n1{-d1.Y * strona, d1.X * strona};

    // The arc touches both legs at the tangent length R*tan(delta/2) from V;
    // its centre lies at R from the first tangent point along the inner
    // normal, and so at R from both legs.
    const double styczna = R * std::tan(delta / 2);
    e.PunktPL = V - d1 * styczna;
    e.PunktKL = V + d2 * styczna;
    e.Srodek = e.PunktPL + n1 * R;
    e.T = Odleglosc2D(V.X, V.Y, e.PunktPL.X, e.PunktPL.Y);
    e.LukWPrawo = prawo;
    e.KatPL = KatRadialny(e.Srodek, e.PunktPL, prawo);
    e.KatKL = e.KatPL + delta;
    e.DlugoscLuku = (e.KatKL - e.KatPL) * R;

    // A route whose geometry is a file's design keeps its clothoids as they stand.
    if (A1 > 0.01 && A2 > 0.01 && granice) {
        float Amin = 0.0f;
        float Amax = 0.0f;
        // A radius beyond the float range gives infinite limits rather than undefined behaviour.
        const float Rf = R > FLT_MAX ? INFINITY : static_cast<float>(R);
        GraniceA(Rf, static_cast<float>(delta), *granice, Amin, Amax);
        if (A1 < Amin) A1 = Amin;
        if (A2 < Amin) A2 = Amin;
        if (A1 > Amax) A1 = Amax;
        if (A2 > Amax) A2 = Amax;
        if (Amin > Amax) {
            A1 = 0.0;
            A2 = 0.0;
        }
    }
    if (!(A1 > 0.01 && A2 > 0.01)) return e;

    const TKlotoida k1 = ObliczKlotoide(R, A1);
    const TKlotoida k2 = ObliczKlotoide(R, A2);
    e.Klotoida1 = k1;
    e.Klotoida2 = k2;
    e.KierunekStycznej1 = KatWektora(d1.X, d1.Y);
    e.KierunekStycznej2Odwr = KatWektora(d2.X, d2.Y) + pi;

    // Shifted centre F at Ys1 from leg 1 and Ys2 from leg 2 on the inner side:
    // F = V + Ys1*n1 + u*d1 = V + Ys2*n2 + w*d2, with n2 the inner normal of
    // leg 2 (n1.n2 = cos delta, d1.n2 = -sin delta, d2.n1 = sin delta). The
    // feet of F on the legs are V + u*d1 and V + w*d2; the entering clothoid
    // starts Xs1 before its foot, the leaving one ends Xs2 after its foot.
    const double u = (k1.Ys * cosD - k2.Ys) / sinDelta;
    const double w = (k1.Ys - k2.Ys * cosD) / sinDelta;
    const TPunkt2D F = V + n1 * k1.Ys + d1 * u;
    e.PunktPKP1 = V + d1 * (u - k1.Xs);
    e.PunktKKP2 = V + d2 * (w + k2.Xs);

    // The clothoid ends are the arc's ends; the leaving one is run backwards
    // from its end, so it turns to the other side.
    e.PunktPL = PunktKlotoidy(e.PunktPKP1, e.KierunekStycznej1, A1, k1.L, prawo);
    e.PunktKL = PunktKlotoidy(e.PunktKKP2, e.KierunekStycznej2Odwr, A2, k2.L, !prawo);
    e.Srodek = F;

    // The arc's central angle is delta less the two clothoid angles; of the
    // radial angles' difference take the turn nearest to it, never negative.
    const double oczekiwany = delta - k1.Tau - k2.Tau;
    e.KatPL = KatRadialny(F, e.PunktPL, prawo);
    const double surowy = KatRadialny(F, e.PunktKL, prawo) - e.KatPL;
    double srodkowy = oczekiwany + std::remainder(surowy - oczekiwany, 2 * pi);
    if (!(srodkowy > 0)) srodkowy = 0.0;
    e.KatKL = e.KatPL + srodkowy;
    e.DlugoscLuku = srodkowy * R;

    e.T1 = Odleglosc2D(V.X, V.Y, e.PunktPKP1.X, e.PunktPKP1.Y);
    e.T2 = Odleglosc2D(V.X, V.Y, e.PunktKKP2.X, e.PunktKKP2.Y);
    e.Klotoida1WPrawo = prawo;
    e.Klotoida2WPrawo = !prawo;
    e.JestKlotoida = true;
    return e;
}

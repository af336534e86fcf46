// Synthetic test geometry built straight into the render arrays: a wavy
// surface, cylinders, a cone, a tetrahedron, a cube, two kinds of sphere,
// half-cylinder walls and a sample road; the two test screens and the scenes
// of the options dialog's test buttons.
//
// Triangles go to TrojkatyPROJ, quadrilaterals to Czworokaty; the meshes are
// not touched. A generator only appends: emptying the arrays first and the
// shading and redraw afterwards are the caller's business.
//
// tryb: 'T' makes two triangles of every grid cell, 'C' one quadrilateral;
// any other letter makes nothing of the cells.
// os: the direction of a solid's axis, 'Z' (vertical, as built), 'Y' or 'X'.
#pragma once

#include <cstdint>

#include "model/Zmienne.h"

// Plan point (cx - r sin kat, cy + r cos kat), computed in 32-bit floating point.
TPunkt2D PunktNaOkregu(double kat, double r, double cx, double cy);
// (r cos szer cos dl, r cos szer sin dl, r sin szer).
TPunkt3D PunktNaKuli(double szer, double dl, double r);
// 'Y': (Y, Z, X); 'X': (Z, X, Y); any other letter: unchanged.
TPunkt3D ZamienOsie(const TPunkt3D& p, char os);

// Appends a triangle to TrojkatyPROJ unless it is degenerate (the components
// of its normal sum in magnitude to 0.1 or less).
void DodajTrojkat(const TPunkt3D& p1, const TPunkt3D& p2, const TPunkt3D& p3, TKolor kolorObrysu, TKolor kolor);
// Appends a quadrilateral to Czworokaty, always.
void DodajCzworokat(const TPunkt3D& p1, const TPunkt3D& p2, const TPunkt3D& p3, const TPunkt3D& p4, TKolor kolorObrysu,
                    TKolor kolor);

void PowierzchniaFalista(int n, char tryb, double x0, double y0, double z0, double Lx, double Ly, double A,
                         TKolor kolor);
void Walec(char os, int n, double x0, double y0, double z0, double r, double h, char tryb, TKolor kolor);
// In mode 'C' the cone has no base.
void Stozek(char os, int n, double x0, double y0, double z0, double r, double h, char tryb, TKolor kolor);
void Czworoscian(TKolor kolor, double x0, double y0, double z0, double r, double kat);
void Szescian(TKolor kolor, double x0, double y0, double z0, double a, double kat);
// Only mode 'T' builds anything.
void Kula(int n, char tryb, double x0, double y0, double z0, double r, TKolor kolor);
void KulaPierscieniowa(int n, char tryb, double x0, double y0, double z0, double r, TKolor kolor);
void PolwalecPionowy(double cx, double cy, double r, double kat1, double kat2, double z1, double z2);
void PolwalecPoziomy(double cy, double cz, double r, double kat1, double kat2, double x1, double x2);
// Number of steps of a half-cylinder wall over the angle span (one step per started 10 degrees).
int KrokiPolwalca(double kat1, double kat2);
// The axis of the sample road at the distance s from its start.
TPunkt3D OsDrogi(double s);
void Droga1();

// ---- Random numbers of the test screens ----
//
// One 32-bit seed for the whole run (ZiarnoLosowania, model/Zmienne.h), 0 at
// start and never taken from the clock: s := s * 134775813 + 1 (mod 2^32); a
// draw below k is (k * s) >> 32, taken after the advance.
std::int32_t Losuj(std::int32_t k);

// ---- Test screens ----
//
// Empty the triangles of both meshes (points, lines, ranges and route stay)
// and the three render arrays, build the row of six test objects, sort and
// shade. The window sets its caption, hides the chainage panel and redraws.
void EkranTestowy();
void EkranTestowyLosowy();

// ---- Scenes of the options dialog's test buttons ----
//
// Each stops before the shading: the dialog runs PrzeliczRzut and redraws.

// Three spheres about the middle of a paint area W pixels wide, sorted.
void KuleTestowe(int W);
// A vertical and a horizontal half-cylinder wall.
void WalceTestowe();
// The sample road.
void DrogaTestowa();
// One test triangle; the triangles of both meshes are emptied as well.
void TrojkatTestowy();

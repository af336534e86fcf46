#include "model/Zmienne.h"

TSiatka TEREN;
TSiatka PROJ;
DaneUstawieniaTrasy Trasa;
std::vector<TParametryProjektowe> ParametryProjektowe;
TRzut Rzut;
std::vector<TCzworokatRys> Czworokaty;
std::vector<TTrojkatRys> TrojkatyPROJ;
std::vector<TTrojkatRys> TrojkatyTEREN;
TPunkt3D Swiatlo{0.707, 0.707, 0.0};
std::int32_t nat = 25;
bool RysObrys = true;
std::int32_t NatObrys = 5;
TObraz Niebo;
std::vector<std::string> OpisTekst{std::string()};
std::vector<std::string> KomunikatyTrasy;

void InicjujZmienne(int W, int /*H*/) {
    Rzut = TRzut{};
    Rzut.OkoX = W * 0.5;
    Rzut.OkoY = -1000.0;
    Rzut.OkoZ = 300.0;
    Swiatlo = {0.707, 0.707, 0.0};
    nat = 25;
    RysObrys = true;
    NatObrys = 5;
    Rzut.skala = 12.0f;
    Rzut.PolEkranX = static_cast<float>(W * 0.5);
    Rzut.RysujPROJ = Rzut.RysujTEREN = Rzut.RysujNiebo = Rzut.RysujLinie = true;
    Rzut.RysujParametryEkran = false;
    Rzut.alfa = 0.0;
    Rzut.OdlTnijYmin = -800.0f;
    Rzut.TnijTroj = true;
    Rzut.OdlTnijYmax = 2000.0f;
    Czworokaty.clear();
    TrojkatyPROJ.clear();
    TrojkatyTEREN.clear();
    TParametryProjektowe wiersz;
    wiersz.OdPikiety = 0.0f;
    wiersz.PredkoscV = 50.0f;
    wiersz.iMax = 0.009f;
    wiersz.kMax = 0.5f;
    wiersz.Bkr = 3.0f;
    wiersz.dI = 0.05f;
    wiersz.Rezerwa1 = 2.5f;
    wiersz.Rezerwa2 = 0.5f;
    ParametryProjektowe.assign(1, wiersz);
}

#include "cli/Polecenia.h"

std::string TekstPomocy() {
    return R"(orvany3d-cli — Orvany3D w wierszu poleceń: raporty, tabela pikiet, profil
podłużny i przekroje, obrazy, klatki przejazdu, przepisywanie plików .mtp na
.tro oraz zapis LandXML i glTF. Obrazy są rysowane tym samym rysowaniem co okno
programu Orvany3D.

Użycie:
  orvany3d-cli raport PLIK...
  orvany3d-cli pikiety PLIK... [--krok KROK]
  orvany3d-cli profil PLIK... [--krok KROK]
  orvany3d-cli profil PLIK... --obraz WYJSCIE.png [--pikieta S] [--przewyzszenie N] [--rozmiar SZERxWYS]
  orvany3d-cli niweleta PLIK... [--trasa NAZWA] [--profil NAZWA] [--krok KROK]
  orvany3d-cli przekroj PLIK... --pikieta S [--szerokosc W] [--krok K]
  orvany3d-cli widocznosc PLIK... [--krok K] [--oko H] [--cel H] [--przesuniecie O]
               [--predkosc V] [--zasieg D] [--czas-reakcji T] [--opoznienie A]
               [--kierunek oba|naprzod|wstecz]
  orvany3d-cli spadki PLIK... [--krok K] [--prog P] [--szerokosc W]
  orvany3d-cli pochylenia PLIK... [--krok K] [--szerokosc W]
  orvany3d-cli objetosci PLIK... [--krok K] [--wspolczynnik k] [--szerokosc W]
  orvany3d-cli obraz PLIK... WYJSCIE.png [--pikieta S] [--rozmiar SZERxWYS] [--parametry]
                     [--kierowca [--oko H] [--przesuniecie O] [--wstecz] [--przechylenie]
                      [--uproszczony-teren]] [--slupki]
                     [--szerokosc-drogi W]
  orvany3d-cli przejazd PLIK... KATALOG [--od S] [--do S] [--krok S] [--rozmiar SZERxWYS] [--parametry]
                     [--kierowca [--oko H] [--przesuniecie O] [--wstecz] [--przechylenie]
                      [--uproszczony-teren]] [--slupki]
  orvany3d-cli przejazd PLIK... --wideo FILM.mp4 [--kl-s 25] [--predkosc V] [--od S] [--do S] ...
  orvany3d-cli przejazd PLIK... --bez-zapisu [--od S] [--do S] [--krok S] ...
  orvany3d-cli przepisz ZRODLO.mtp CEL.tro
  orvany3d-cli landxml PLIK... WYJSCIE.xml
  orvany3d-cli gltf PLIK... WYJSCIE.glb
  orvany3d-cli --help

PLIK... to pliki .tro, .mtp, LandXML 1.2 (.xml) i siatki NMT, wczytywane po kolei jak w
oknie programu: plik późniejszy zastępuje tylko te sekcje, które sam zawiera.
Czytnik wybierają trzy ostatnie znaki nazwy (bez względu na wielkość liter):
TRO, MTP albo XML; inna nazwa to błąd użycia. Z pliku LandXML wczytywana jest
powierzchnia TEREN, powierzchnia PROJ i jedna trasa (domyślnie pierwsza).
Domyślnie powierzchnia o nazwie dokładnie „TEREN” jest terenem, a o nazwie
„PROJ” projektem (tak zapisuje je program); w innych plikach terenem jest
pierwsza powierzchnia, a projektu nie ma. Każde polecenie wczytujące pliki
przyjmuje opcje wyboru:
      --teren NAZWA    powierzchnia pliku LandXML wczytywana jako TEREN
      --proj NAZWA     powierzchnia pliku LandXML wczytywana jako PROJ
      --trasa NAZWA    trasa (Alignment) pliku LandXML
      --profil NAZWA   niweleta (Profile/ProfAlign) tej trasy (domyślnie pierwsza)
      --bez-terenu     z pliku LandXML nie jest wczytywany teren (zostaje ten w pamięci)
      --bez-proj       z pliku LandXML nie jest wczytywany projekt (zostaje ten w pamięci)
      --bez-trasy      z pliku LandXML nie jest wczytywana trasa (zostaje ta w pamięci)
Siatki numerycznego modelu terenu (.asc, .xyz, .tif, .tiff; GDAL) stają się
terenem TEREN: siatka jest przerzedzana do sieci trójkątów, w której każdy węzeł
z wysokością leży najwyżej o tolerancję od trójkątów; kilka siatek podanych po
sobie to arkusze jednego terenu. Opcje siatek:
      --tolerancja M   tolerancja wysokości w metrach (domyślnie 0.10)
      --pas M          tylko siatka do M metrów (w planie) od trasy wczytanej
                       wcześniej (plik z trasą przed siatką)
      --zamien-xy      pliki XYZ w kolejności geodezyjnej (x = północ pierwsza);
                       domyślnie kolejność GIS (wschód, północ, wysokość)
      --uklad-pliku EPSG  układ siatki, gdy plik go nie podaje (np. 2180)
      --uklad EPSG     układ projektu (domyślnie układ wczytanej trasy lub
                       powierzchni); wierzchołki siatki są do niego przeliczane,
                       wysokości bez zmian
Pikiety trasy z pliku LandXML liczą się od jej pikiety początkowej (staStart):
tak są wypisywane i tak podaje się je w opcjach --pikieta, --od i --do. Plik, którego nie da się wczytać, nie zmienia danych:
jego komunikat (ten sam, co w oknie błędu programu) trafia na standardowe
wyjście błędów, a narzędzie wczytuje kolejne pliki i kończy się kodem 1.

Polecenia:
  raport     Raport o siatkach („Info Teren, Proj”), a po nim raport o trasie
             („Info Trasa”), wiersz po wierszu jak w oknie „Opis”, z separatorem
             dziesiętnym języka z otoczenia (LC_ALL=C: kropka, pl_PL: przecinek).
             Raport o trasie kończy się komunikatami ostatniego obliczenia trasy,
             jeśli były (nie są powtarzane osobno).

  pikiety    Tabela pikiet do tyczenia: nagłówek „pikieta;X;Y;kierunek”, potem
             początek trasy, każda wielokrotność KROK pikiety wyświetlanej leżąca
             wewnątrz trasy i sam koniec trasy (trasa od pikiety 641,2153 z KROK 50:
             641,2153, 650, 700, ...; trasa od 0: 0, KROK, 2·KROK, ...). X, Y to punkt trasy we współrzędnych pliku, kierunek to
             azymut trasy w radianach (od osi +X przeciwnie do ruchu wskazówek
             zegara). Zawsze kropka dziesiętna; pikieta, X, Y z 4 miejscami,
             kierunek z 6. Pikieta 0 i koniec trasy dają punkty 0,001 od końców
             trasy, jak w wyszukiwaniu punktu na pikiecie. KROK (domyślnie 10)
             musi być liczbą dodatnią. Komunikaty obliczenia trasy idą na
             standardowe wyjście błędów.
      --krok KROK      odstęp pikiet w metrach (kropka albo przecinek)

  niweleta   Niweleta trasy z pliku LandXML (Profile/ProfAlign: punkty PVI,
             łuki paraboliczne ParaCurve i UnsymParaCurve, łuki kołowe CircCurve):
             nagłówek „pikieta;Z;pochylenie”, potem te same pikiety co w poleceniu
             pikiety. Z to wysokość niwelety w metrach (3 miejsca), pochylenie w %
             w kierunku rosnących pikiet (3 miejsca; w punkcie załamania bez łuku:
             pochylenie za nim). Przed pierwszym i za ostatnim punktem załamania
             niwelety nie ma: pola są puste. Trasa bez niwelety: komunikat i kod 1.
      --krok KROK      odstęp pikiet w metrach (domyślnie 10)

  profil     Profil podłużny: nagłówek „pikieta;X;Y;Z_proj;Z_teren;roznica”,
             potem te same pikiety co w poleceniu pikiety. Z_proj i Z_teren to
             wysokości powierzchni projektowanej (PROJ) i terenu (TEREN) w punkcie
             trasy, roznica = Z_proj - Z_teren (dodatnia: nasyp, ujemna: wykop).
             Gdzie powierzchni nie ma, jej pole i pole roznica są puste. Pikieta,
             X, Y z 4 miejscami, wysokości z 3; zawsze kropka dziesiętna.
      --krok KROK      odstęp pikiet w metrach (domyślnie 10)
      --obraz WYJSCIE.png  zamiast tabeli zapisuje rysunek okna „Profil
                       i przekrój”: profil podłużny całej trasy ze znacznikiem
                       pikiety i przekrój poprzeczny na tej pikiecie
      --pikieta S      pikieta znacznika i przekroju (domyślnie 0), zaokrąglana
                       do całych metrów jak pozycja suwaka
      --przewyzszenie N  przewyższenie profilu podłużnego (domyślnie 10)
      --rozmiar SZERxWYS rozmiar rysunku (domyślnie 1000x640)

  przekroj   Przekrój poprzeczny na pikiecie S: nagłówek
             „odleglosc;X;Y;Z_proj;Z_teren”, potem punkty prostopadle do trasy
             w odległościach będących wielokrotnościami K od -W do +W (oś,
             odległość 0, zawsze wśród nich; -W i +W dopisywane, gdy kroki na
             nie nie trafiają), dodatnie odległości na prawo od kierunku jazdy.
             X, Y we współrzędnych pliku; liczby jak w poleceniu profil.
      --pikieta S      pikieta przekroju (wymagana)
      --szerokosc W    zasięg na każdą stronę osi w metrach (domyślnie 30)
      --krok K         odstęp punktów w metrach (domyślnie 0,5)

  widocznosc Widoczność na zatrzymanie na pikietach 0, K, 2·K, ... i na końcu
             trasy, w obu kierunkach jazdy (wiersz „+” przed wierszem „-”).
             Oko stoi O w prawo od kierunku jazdy, prostopadle do trasy, H nad
             nawierzchnią PROJ (gdzie jej brak: nad TEREN); cel tak samo, H
             nad nawierzchnią, d dalej wzdłuż trasy. Cel jest widoczny, gdy
             odcinek oko–cel nigdzie nie schodzi pod PROJ ani pod TEREN poza
             obrysem PROJ (dawny teren nad drogą w wykopie jest usunięty). Dostępna
             odległość to najmniejsze d, przy którym cel jest zasłonięty
             (krok 1 m, potem połowienie do 0,05 m), albo zasięg D, albo
             koniec trasy. Wymagana Lz = v·t + v²/(2·(a + g·i)), v = V/3,6,
             i = pochylenie PROJ w kierunku jazdy na długości Lz, g = 9,81.
             Wynik: „pikieta;kierunek;dostepna;wymagana;ocena;granica;X;Y;Z;
             powierzchnia”; ocena tak/nie (tak także, gdy ogranicza koniec
             trasy); granica pusta, gdy cel został zasłonięty, inaczej zasieg,
             koniec albo brak (oko lub cel poza powierzchniami); X;Y;Z to
             pierwszy punkt, w którym zasłonięty odcinek schodzi pod
             powierzchnię (współrzędne pliku), powierzchnia TEREN albo PROJ.
             Wymagana „inf”, gdy a + g·i <= 0 (spadek zbyt duży).
      --krok K           odstęp pikiet w metrach (domyślnie 10)
      --oko H            wysokość oka nad nawierzchnią (domyślnie 1,0)
      --cel H            wysokość celu nad nawierzchnią (domyślnie 0,5)
      --przesuniecie O   odsunięcie w prawo od kierunku jazdy (domyślnie 1,75)
      --predkosc V       prędkość w km/h (domyślnie PredkoscV z wiersza
                         parametrów projektowych obowiązującego na pikiecie)
      --zasieg D         największa sprawdzana odległość (domyślnie 300)
      --czas-reakcji T   czas reakcji w sekundach (domyślnie 2,5)
      --opoznienie A     opóźnienie hamowania w m/s² (domyślnie 3,4)
      --kierunek oba|naprzod|wstecz   kierunki jazdy (domyślnie oba)

  spadki     Spadki powierzchni projektowanej PROJ w przedziałach pikietażu
             [s, s+K) od początku trasy (ostatni kończy się na końcu trasy):
             nagłówek „pikieta_od;pikieta_do;pole;pole_plaskie;spadek_min”.
             Spadek wypadkowy trójkąta z = a·x + b·y + c to s = √(a² + b²)
             w %. pole to pole rzutu PROJ w przedziale nie dalej niż W od osi
             trasy (trójkąty przycinane normalnymi do trasy na granicach
             przedziałów i odległością W), pole_plaskie jego część o s < P,
             spadek_min najmniejsze s w przedziale (puste bez PROJ).
      --krok K         długość przedziału w metrach (domyślnie 10)
      --prog P         najmniejszy spadek w % (domyślnie 0,5)
      --szerokosc W    odległość od osi na każdą stronę (domyślnie 30)

  pochylenia Pochylenie poprzeczne PROJ na pikietach polecenia pikiety:
             nagłówek „pikieta;q_lewe;q_prawe;zmiana_lewe;zmiana_prawe”.
             q = (z(krawędź) − z(oś)) / W · 100 w %, krawędź W w lewo albo
             w prawo od punktu trasy wzdłuż normalnej; ujemne, gdy nawierzchnia
             opada od osi. zmiana to zmiana q w % na metr: różnica centralna
             między sąsiednimi pikietami (jednostronna na końcach). Puste pole,
             gdzie PROJ nie ma wysokości.
      --krok K         odstęp pikiet w metrach (domyślnie 10)
      --szerokosc W    odległość krawędzi od osi (domyślnie 3,5)

  objetosci  Objętości robót ziemnych między PROJ a TEREN w przedziałach jak
             w poleceniu spadki: nagłówek „pikieta_od;pikieta_do;wykop;nasyp;
             masa”. Objętości są dokładne: obie siatki nałożone w planie,
             kawałki dzielone na linii przecięcia powierzchni. wykop tam,
             gdzie teren leży nad projektem, nasyp pod nim; masa to rzędna mas
             Σ(k·wykop − nasyp) od początku trasy. Część PROJ bez terenu pod
             sobą jest pomijana, a jej pole podaje standardowe wyjście błędów.
      --krok K         długość przedziału w metrach (domyślnie 10)
      --wspolczynnik k współczynnik spulchnienia (domyślnie 1,0)
      --szerokosc W    odległość od osi na każdą stronę (domyślnie 100)

             W trzech poleceniach liczby z kropką i 3 miejscami; pikiety z
             pikietą początkową trasy (staStart pliku LandXML). Brak PROJ:
             komunikat i kod 1 (w objetosci także brak TEREN).

  obraz      Obraz okna głównego zapisany jako PNG: widok ogólny po wczytaniu
             ostatniego pliku, z okiem ustawionym jak po pierwszym wyświetleniu
             okna i wszystkimi przełącznikami rysowania jak przy starcie.
      --pikieta S      widok z pikiety S, jak po przesunięciu suwaka na S.
                       Suwak przesuwa się o całe metry, więc S jest zaokrąglane
                       do liczby całkowitej (2,5 -> 3). Pikieta poza trasą jest
                       zastępowana bliższym końcem trasy, z ostrzeżeniem na
                       standardowym wyjściu błędów (tak samo --pikieta poleceń
                       profil i przekroj oraz --od i --do przejazdu).
      --rozmiar SZERxWYS  rozmiar obszaru rysunku (domyślnie 958x637)
      --parametry      rysuje na obrazie blok parametrów widoku
      --kierowca       widok kierowcy (wymaga --pikieta): oko nad jezdnią,
                       odsunięte w prawo od osi w kierunku jazdy, wzrok wzdłuż
                       drogi, słupki pikietażowe co 100 m. Gdzie droga nie ma
                       wysokości, rysowany jest widok z trasy.
      --oko H          wysokość oka nad jezdnią w metrach (domyślnie 1,0)
      --przesuniecie O odsunięcie oka od osi w metrach, dodatnie w prawo
                       w kierunku jazdy (domyślnie 1,75)
      --wstecz         jazda pod prąd pikietażu
      --przechylenie   widok przechyla się z pochyleniem poprzecznym pasa pod
                       okiem, jak samochód na łuku z przechyłką
      --uproszczony-teren  teren dalej niż 300 m przed okiem rysowany z
                       regularnej siatki wysokości (oczko 5 m lub dwie średnie
                       krawędzie trójkątów terenu): klatka szybsza na dużych
                       terenach, daleki teren nieco mniej dokładny. Bliski
                       teren i powierzchnia projektu bez zmian.
      --slupki         słupki pikietażowe także w widoku z trasy
      --szerokosc-drogi W  szerokość drogi rysowanej z niwelety trasy, gdy
                       nie ma powierzchni projektu PROJ (domyślnie 7,0 m):
                       pas poziomy w poprzek na wysokości niwelety; po nim
                       jedzie kierowca

  przejazd   Klatki przejazdu wzdłuż trasy: klatka_00001.png, klatka_00002.png,
             ... w KATALOGU (tworzonym w razie potrzeby) dla pikiet od --od do
             --do co --krok; ostatnią klatką jest zawsze --do. Każda klatka to
             obraz, jaki pokazuje okno po ustawieniu suwaka na tej pikiecie;
             pikiety nie są zaokrąglane, więc krok może być ułamkowy. Gdy --od
             leży za --do albo podano --wstecz, jazda idzie pod prąd pikietażu
             (z --wstecz domyślnie od końca trasy do początku); klatki są
             numerowane w kolejności jazdy. Starsze
             klatki o dalszych numerach są usuwane. Postęp na standardowym
             wyjściu błędów.
      --od S           pierwsza pikieta (domyślnie początek trasy)
      --do S           ostatnia pikieta (domyślnie koniec trasy)
      --krok S         odstęp klatek w metrach (domyślnie 1)
      --rozmiar SZERxWYS, --parametry, --kierowca, --oko, --przesuniecie,
      --wstecz, --przechylenie, --uproszczony-teren, --slupki,
      --szerokosc-drogi  jak w poleceniu obraz
      --wideo FILM.mp4 zamiast klatek film H.264 (yuv420p) zapisany przez
                       program ffmpeg, do którego klatki idą potokiem; bez
                       ffmpeg kod 2 i nic nie jest zapisywane. Film powstaje
                       pod nazwą tymczasową i dostaje nazwę FILM.mp4 dopiero
                       po udanym zakończeniu (nowy film ma uprawnienia jak
                       każdy nowy plik, np. 0644 przy umask 022; zastąpiony
                       zachowuje swoje).
      --kl-s N         klatki na sekundę filmu (domyślnie 25)
      --predkosc V     prędkość w km/h: krok = V / 3,6 / N metrów (zamiast --krok)
      --bez-zapisu     klatki są rysowane jak w oknie, ale żadna nie jest zapisywana
                       (bez katalogu); na końcu na standardowym wyjściu błędów
                       „klatek: N, klatek/s: F” — pomiar płynności jazdy

  przepisz   Przepisuje plik wymiany .mtp na plik trójkątów .tro (plik LandXML
             jest odrzucany z kodem 2: programy czytają go wprost). Plik docelowy
             powstaje pod nazwą tymczasową i zastępuje stary dopiero w całości;
             przy błędzie stary plik zostaje nietknięty.

  landxml    Zapisuje wczytane dane jako LandXML 1.2 w metrach: TEREN i PROJ jako
             dwie powierzchnie (Surface „TEREN” i „PROJ”, każdy wierzchołek raz,
             ściany przez id, współrzędne pliku) i obliczoną trasę jako jedną
             oś (Alignment „TRASA”: Line, Curve, Spiral ze staStart).

  gltf       Zapisuje TEREN i PROJ jako binarny glTF 2.0 (.glb) do oglądania w
             innych programach 3D i przeglądarkach: siatka na zbiór, kolory
             rodzajów powierzchni, normalne; oś Y w górę, początek układu
             lokalnego w przesunięciu (translation) węzła.

Opcje można podawać w dowolnym miejscu po poleceniu, także jako --opcja=wartość;
po „--” każdy argument jest nazwą pliku.

Kody wyjścia:
  0  wykonano
  1  nie udało się wczytać lub zapisać pliku (ma pierwszeństwo przed kodem 3)
  2  błąd użycia (nieznane polecenie lub opcja, zła liczba, zły rozmiar,
     nazwa pliku bez końcówki TRO/MTP/XML)
  2  także: brak programu ffmpeg (przejazd --wideo)
  3  trasa nie jest obliczona (pikiety, profil, przekroj, widocznosc, spadki,
     pochylenia, objetosci, obraz --pikieta, przejazd); nic nie jest wypisywane
     ani zapisywane

Przykłady:
  orvany3d-cli raport Przyklady/Droga.tro
  orvany3d-cli pikiety Przyklady/Droga.tro --krok 25 > tyczenie.csv
  orvany3d-cli profil Przyklady/Droga.tro --krok 5 > profil.csv
  orvany3d-cli profil Przyklady/Droga.tro --obraz profil.png --pikieta 120
  orvany3d-cli przekroj Przyklady/Droga.tro --pikieta 120 --szerokosc 20 > przekroj.csv
  orvany3d-cli widocznosc Przyklady/Droga.tro --predkosc 70 > widocznosc.csv
  orvany3d-cli spadki Przyklady/Droga.tro --krok 20 --szerokosc 15 > spadki.csv
  orvany3d-cli pochylenia Przyklady/Droga.tro > pochylenia.csv
  orvany3d-cli objetosci Przyklady/Droga.tro --krok 50 --wspolczynnik 1.25 > objetosci.csv
  orvany3d-cli obraz Przyklady/Droga.tro droga.png --pikieta 120
  orvany3d-cli przejazd Przyklady/Droga.tro klatki --krok 0.5
  orvany3d-cli obraz Przyklady/Droga.tro kierowca.png --pikieta 600 --kierowca --oko 1.2
  orvany3d-cli obraz Przyklady/Droga.tro przechylony.png --pikieta 800 --kierowca --przechylenie
  orvany3d-cli przejazd Przyklady/Droga.tro --wideo film.mp4 --kierowca --predkosc 60 --od 100 --do 600
  orvany3d-cli przejazd Przyklady/Droga.tro --bez-zapisu --kierowca --od 100 --do 600
  orvany3d-cli przejazd Przyklady/Droga.tro --bez-zapisu --kierowca --uproszczony-teren
  orvany3d-cli przepisz Model/Droga.mtp Droga.tro
  orvany3d-cli pikiety projekt.xml --teren Istniejacy --trasa "Oś 1" --krok 20
  orvany3d-cli niweleta projekt.xml --trasa "Oś 1" --profil "Niweleta projektowa" --krok 50
  orvany3d-cli raport trasa.xml 6.117.25.1.2.asc 6.117.25.1.3.asc --pas 200 --uklad 2178
  orvany3d-cli landxml Przyklady/Droga.tro droga.xml
  orvany3d-cli gltf Przyklady/Droga.tro droga.glb
)";
}

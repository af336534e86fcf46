# Orvany3D — the two commands of a new user:
#   make run    installs what is missing, builds and starts the program on the sample road
#   make test   installs what is missing, builds and runs every test headless
# Further: make build, make bench, make install, make clean;
#   make test-asan  the whole test suite built with AddressSanitizer and UBSan
#   make test-tsan  the threaded core tests built with ThreadSanitizer
#   make fuzz       the fuzz targets (clang, libFuzzer), FUZZ_CZAS seconds each
#   make format     formats every C++ file with .clang-format (package clang-format)

BUILD ?= build
JOBS  ?= $(shell nproc)
SUDO  := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Debian packages the build and the tests need.
PAKIETY := cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
           libbenchmark-dev libpugixml-dev xvfb xdotool imagemagick fonts-dejavu-core locales \
           qt6-translations-l10n ffmpeg libgdal-dev libproj-dev

# Further packages of `make bench` only: the OpenGL anchor (bench_llvmpipe,
# built when they are there) and /usr/bin/time of bench/duze_sceny.sh.
PAKIETY_BENCH := libegl-dev libopengl-dev libgl1-mesa-dri time

.PHONY: run test build deps deps-bench configure bench clean test-asan test-tsan fuzz format

deps:
	@brak=""; for p in $(PAKIETY); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || brak="$$brak $$p"; \
	done; \
	if [ -n "$$brak" ]; then \
	  echo "Instaluję brakujące pakiety:$$brak"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$brak; \
	fi
	@# The tests check the Polish decimal comma: make sure the pl_PL locale exists.
	@locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$$' || $(SUDO) localedef -i pl_PL -f UTF-8 pl_PL.UTF-8

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The sample road at once; ./$(BUILD)/bin/orvany3d without arguments starts empty.
run: build
	./$(BUILD)/bin/orvany3d Przyklady/Droga.tro

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

deps-bench: deps
	@brak=""; for p in $(PAKIETY_BENCH); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || brak="$$brak $$p"; \
	done; \
	if [ -n "$$brak" ]; then \
	  echo "Instaluję pakiety benchmarków:$$brak"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$brak || \
	    echo "Nie zainstalowano:$$brak — benchmark OpenGL zostanie pominięty."; \
	fi

bench: deps-bench
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANY_BENCH=ON -DORVANY_TESTY=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	@for b in $(BUILD)-bench/bin/bench_*; do echo "== $$b"; $$b; done

# make install [PREFIX=/usr/local] [DESTDIR=staging]: both programs with
# Przyklady/ and Model/ in $(PREFIX)/lib/orvany3d/, links in $(PREFIX)/bin/,
# a desktop entry and an icon; sudo only when the target is not writable.
PREFIX ?= /usr/local
.PHONY: install
install: build
	@cel="$(DESTDIR)$(PREFIX)"; d="$$cel"; while [ ! -e "$$d" ]; do d=$$(dirname "$$d"); done; \
	if [ -w "$$d" ]; then s=""; else s="$(SUDO)"; fi; \
	$$s env DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The test suite under AddressSanitizer and UndefinedBehaviorSanitizer (GCC):
# every report stops the test that caused it. Leaks are checked; the leak
# reports of the system libraries behind Qt are suppressed.
# Both sanitizer builds keep line tables only (-g1: the reports still name the
# file and line) and compile the test files themselves unoptimised, which
# halves their build; the program's code is built with -O1.
SANITYZATORY := -fsanitize=address,undefined -fsanitize=float-cast-overflow -fno-sanitize-recover=all \
                -fno-omit-frame-pointer
test-asan: deps
	@[ -f $(BUILD)-asan/build.ninja ] || cmake -S . -B $(BUILD)-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DORVANY_OPCJE_TESTOW=-O0 -DCMAKE_CXX_FLAGS="$(SANITYZATORY)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITYZATORY)"
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600 $(ASAN_CTEST)

# The end-to-end scripts (a real X window, the installation) drive the same
# code as the window tests and take the longest under the sanitizers; `make
# test` runs them, so the sanitizer pass leaves them out unless ASAN_CTEST= is given.
ASAN_CTEST ?= -LE '^(xvfb|cli)$$'

# The tests of the code that runs in threads (reading in halves, the two-thread
# passes of the renderer, the heights index, the sight check) built with
# ThreadSanitizer: core only, no window, so the build stays short (the suites
# not built there are left out). Every report fails the test that caused it.
TSAN := -fsanitize=thread -fno-omit-frame-pointer
test-tsan: deps
	@[ -f $(BUILD)-tsan/build.ninja ] || cmake -S . -B $(BUILD)-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DORVANY_OPCJE_TESTOW=-O0 -DCMAKE_CXX_FLAGS="$(TSAN)" -DCMAKE_EXE_LINKER_FLAGS="$(TSAN)" \
	  -DORVANY_GUI=OFF
	cmake --build $(BUILD)-tsan -j $(JOBS) --target testy_watkow
	cd $(BUILD)-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600 -L rdzen -E _NOT_BUILT

# Fuzzing: the targets in fuzz/ built with clang's libFuzzer and both
# sanitizers, each run for FUZZ_CZAS seconds over its seeds (fuzz/corpus/<cel>)
# and the inputs it found before ($(BUILD)-fuzz/korpus/<cel>). A finding stops
# the run and is left in $(BUILD)-fuzz/znaleziska/.
FUZZ_CZAS ?= 60
FUZZ_CELE ?= fuzz_tro fuzz_mtp fuzz_przepisz fuzz_pola fuzz_trasa fuzz_landxml
FUZZ_CXX  ?= $(shell command -v clang++-14 || command -v clang++)
fuzz:
	@[ -n "$(FUZZ_CXX)" ] || { echo "Instaluję clang i libFuzzer"; $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q clang-14 libclang-rt-14-dev; }
	@[ -f $(BUILD)-fuzz/build.ninja ] || cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=$$(command -v clang++-14 || command -v clang++) \
	  -DORVANY_GUI=OFF -DORVANY_TESTY=OFF -DORVANY_FUZZ=ON \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target $(FUZZ_CELE)
	@mkdir -p $(BUILD)-fuzz/znaleziska
	@for c in $(FUZZ_CELE); do \
	  mkdir -p $(BUILD)-fuzz/korpus/$$c; echo "== $$c: $(FUZZ_CZAS) s"; \
	  $(BUILD)-fuzz/bin/$$c -max_total_time=$(FUZZ_CZAS) -timeout=10 -rss_limit_mb=2048 \
	    -dict=fuzz/slowniki/$${c#fuzz_}.dict -artifact_prefix=$(BUILD)-fuzz/znaleziska/$$c- \
	    -print_final_stats=1 $(BUILD)-fuzz/korpus/$$c fuzz/corpus/$$c > $(BUILD)-fuzz/$$c.log 2>&1; kod=$$?; \
	  grep -E '^(#[0-9]+ +(INITED|DONE)|stat::|==[0-9]+==|SUMMARY|Done)' $(BUILD)-fuzz/$$c.log; \
	  [ $$kod -eq 0 ] || { echo "Znalezisko: $(BUILD)-fuzz/znaleziska/ ($(BUILD)-fuzz/$$c.log)"; exit 1; }; \
	done

format:
	@command -v clang-format >/dev/null || $(SUDO) apt-get install -y clang-format
	git ls-files '*.cpp' '*.h' | xargs clang-format -i --style=file

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-tsan $(BUILD)-fuzz

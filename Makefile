# Orvany3D — the two commands of a new user:
#   make run    installs what is missing, builds and starts the program
#   make test   installs what is missing, builds and runs every test headless
# Further: make build, make bench, make install, make clean.

BUILD ?= build
JOBS  ?= $(shell nproc)
SUDO  := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Debian packages the build and the tests need.
PAKIETY := cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
           libbenchmark-dev xvfb xdotool imagemagick fonts-dejavu-core locales

.PHONY: run test build deps configure bench clean

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

run: build
	./$(BUILD)/bin/orvany3d

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
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

clean:
	rm -rf $(BUILD) $(BUILD)-bench

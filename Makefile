# make run   — install what is missing, build, seed the working folder, start the program
# make test  — install, build, run every test headless
# make bench — install, build, run the benchmarks
# make stress — the long versions of the crash, two-copies, fuzz replay and monkey tests
# make fuzz  — clang's libFuzzer on the input readers, FUZZ_SECONDS each, over fuzz/corpus
# make deb   — the Debian package, build/marivelle_<version>_amd64.deb, built with Debian's
#              hardening flags in a folder of its own (build/deb)
# make deb-check — lintian, the menu entry, and the package started from a scratch root
# make check-calc — LibreOffice Calc opens the program's Excel workbooks (not in make test)
# make install — the program, its launcher and marivelle-data under PREFIX

BUILD_DIR     ?= build
BUILD_TYPE    ?= Release
MARIVELLE_HOME ?= $(HOME)/Marivelle
PREFIX        ?= /usr/local
JOBS          ?= $(shell nproc 2>/dev/null || echo 2)

PACKAGES := build-essential cmake pkg-config qt6-base-dev qt6-qpa-plugins \
            libsqlitecpp-dev libsqlite3-dev libkainjow-mustache-dev libbenchmark-dev \
            fonts-dejavu-core poppler-utils qt6-l10n-tools python3 libgmp-dev \
            xvfb xauth libxlsxwriter-dev python3-openpyxl

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Files shipped beside data.mdb (report definitions); absent ones are copied, changed ones kept.
SHIPPED_FILES := $(wildcard resources/reports/*.RAV)

.PHONY: all deps configure build build-run run test stress bench seed clean deb deb-check \
        check-calc fuzz install

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

# What make run starts and seeds: the program, the shipped data file (and makedb, which makes
# it) and marivelle-data; no test or benchmark.
build-run: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target marivelle shipped_db marivelle-data

seed: build-run
	@mkdir -p "$(MARIVELLE_HOME)"
	@if [ ! -e "$(MARIVELLE_HOME)/data.mdb" ]; then \
	  cp $(BUILD_DIR)/data.mdb "$(MARIVELLE_HOME)/data.mdb" && \
	  chmod u+w "$(MARIVELLE_HOME)/data.mdb" && \
	  echo "Seeded $(MARIVELLE_HOME)/data.mdb"; \
	fi
	@for f in $(SHIPPED_FILES); do \
	  [ -e "$(MARIVELLE_HOME)/$$(basename $$f)" ] || cp "$$f" "$(MARIVELLE_HOME)/"; \
	done

run: seed
	cd "$(MARIVELLE_HOME)" && exec "$(CURDIR)/$(BUILD_DIR)/src/marivelle"

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The tests labelled "stress" read MARIVELLE_STRESS=1 and run their long versions, some of
# them past Qt Test's own limit of five minutes a function.
stress: build
	cd $(BUILD_DIR) && MARIVELLE_STRESS=1 QTEST_FUNCTION_TIMEOUT=1800000 QT_QPA_PLATFORM=offscreen \
	  ctest -L stress --output-on-failure

# Each target runs FUZZ_SECONDS over its corpus; new inputs go to build-fuzz/corpus/<target>,
# a crash or broken property ends that target's run, kept as build-fuzz/crash-<target>-*.
FUZZ_DIR      ?= build-fuzz
FUZZ_SECONDS  ?= 60
FUZZ_TARGETS  := clean_text jet_date typed_date typed_number money_amount dialect report

fuzz: PACKAGES += clang libclang-rt-14-dev
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DMARIVELLE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR) -j$(JOBS)
	@status=0; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t; \
	  echo "== $$t, $(FUZZ_SECONDS) s"; \
	  $(FUZZ_DIR)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=512 -timeout=10 \
	    -dict=fuzz/pieces.dict -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/crash-$$t- $(FUZZ_DIR)/corpus/$$t fuzz/corpus/$$t || status=1; \
	done; exit $$status

bench: build
	cmake --build $(BUILD_DIR) --target bench_all -j$(JOBS)
	@for b in $(BUILD_DIR)/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done

# The package is built in a folder of its own with Debian's flags (hardening, fortify,
# bindnow, PIE) and without tests or benchmarks; the .deb lands in BUILD_DIR. CPack looks at
# the installed files with file(1) before asking dpkg-shlibdeps.
DEB_BUILD_DIR ?= $(BUILD_DIR)/deb
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

deb: PACKAGES += file dpkg-dev
deb: deps
	cmake -S . -B $(DEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF \
	  -DMARIVELLE_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)"
	cmake --build $(DEB_BUILD_DIR) -j$(JOBS)
	cd $(DEB_BUILD_DIR) && cpack -G DEB -B "$(CURDIR)/$(BUILD_DIR)"

deb-check: deb
	sh packaging/deb-check.sh $(BUILD_DIR)

# LibreOffice Calc, headless, converts a workbook the program wrote to its own format, and the
# cells are read back from that. A large install, so apart from make test.
check-calc: PACKAGES += libreoffice-calc-nogui
check-calc: build
	cmake --build $(BUILD_DIR) -j$(JOBS) --target check_calc
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 tests/check_calc

install: build
	$(SUDO) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR)

# Two commands for a newcomer: `make play` and `make test`. Both install what is
# missing (Debian 12 packages), build, and then play or test. A plain `make` (or
# `make build`) only builds; `make deps` installs what building needs.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)

BUILD_PACKAGES = cmake g++ make pkg-config libsdl1.2-dev libsdl-image1.2-dev \
  libsdl-mixer1.2-dev libsndfile1-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri \
  libgtest-dev
TEST_PACKAGES  = xvfb xauth xdotool x11-utils imagemagick clang libclang-rt-14-dev \
  python3 python3-pil python3-numpy sox libsox-fmt-mp3 procps clang-format appstream desktop-file-utils \
  man-db libsdl2-2.0-0
ASSET_PACKAGES = python3-pil python3-numpy imagemagick librsvg2-bin espeak-ng flite sox \
  libsox-fmt-base libsox-fmt-mp3 lame pocketsphinx pocketsphinx-en-us fonts-leckerli-one fonts-league-spartan fonts-dejavu-core

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Install only what is missing, so a set-up machine does not touch apt at all.
define install_missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

.PHONY: all deps test-deps asset-deps build play test unit asan fuzz-short fuzz e2e art sounds voice-check bench install clean \
  levels-report

all: build

deps:
	$(call install_missing,$(BUILD_PACKAGES))

test-deps: deps
	$(call install_missing,$(TEST_PACKAGES))

asset-deps:
	$(call install_missing,$(ASSET_PACKAGES))

define cmake_build
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j$(JOBS)
endef

build:
	$(cmake_build)

# Packages first, then the build, even under make -j.
play: deps
	$(cmake_build)
	./$(BUILD)/cavegame

test: test-deps
	$(cmake_build)
	tools/run_tests.sh $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

art: asset-deps
	tools/art/make_art.sh

sounds: asset-deps
	tools/sound/make_sounds.sh

# How many of the dragon's lines a speech recogniser understands (not part of `make test`).
voice-check: asset-deps
	/usr/bin/python3 tools/sound/voice_check.py

# The difficulty curve: a human-like runner plays every level 50 seeded times (headless);
# the table, its chart and each level's map go to docs/levels.md.
levels-report: build asset-deps
	/usr/bin/python3 tools/levels/levels_report.py $(BUILD)

bench: build
	tools/run_bench.sh $(BUILD)

fuzz: test-deps
	tools/run_fuzz.sh $(FUZZ_BUILD) 600

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# Front door of the build. Everything goes to build/, executables to build/bin/.
BUILD    ?= build
JOBS     ?= 2
# CI builds with warnings as errors; a developer sees them as warnings.
WERROR   := $(if $(filter true 1,$(CI)),ON,OFF)
# Extra options for cmake's configure step, e.g. CMAKE_ARGS=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
CMAKE_ARGS ?=

.PHONY: all deps configure build test run format bench fuzz-long clean manual-screenshots

all: build

deps:
	@scripts/install-deps --check 2>/dev/null || scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVAN_WERROR=$(WERROR) $(CMAKE_ARGS) >/dev/null

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# Every test, then the package as Debian's lintian sees it.
test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	cd $(BUILD) && cpack -G DEB >/dev/null
	scripts/lint-package $(BUILD)

# The demo: a simulated unit on a pseudo-terminal and the window connected to it.
run: build
	scripts/run-demo $(BUILD)

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

# Long fuzzing session by hand (10 minutes per target by default), from the committed seeds
# and dictionaries; the growing corpus stays in the build folder.
FUZZ_SECONDS ?= 600
fuzz-long: build
	@for f in $(BUILD)/fuzz/bin/fuzz_*; do \
	  t=$$(basename $$f); corpus=$(BUILD)/fuzz/long/$$t; mkdir -p $$corpus; \
	  cp -n tests/fuzz/corpus/$$t/* $$corpus/ 2>/dev/null || true; \
	  echo "== $$t"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -dict=tests/fuzz/dict/$$t.dict \
	    -artifact_prefix=$$corpus/ $$corpus || exit 1; \
	done

# The manual's pictures, made from the real window against the simulated unit in each language
# (on an X server of their own when Xvfb is there).
manual-screenshots: build
	$(if $(shell command -v Xvfb),scripts/with-xvfb,) $(BUILD)/bin/manual_screenshots docs/manual/images

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)

# The Debian package $(BUILD)/korvan2_<version>_<arch>.deb, made by CPack from the install rules;
# its dependencies come from dpkg-shlibdeps.
.PHONY: package
package: build
	cd $(BUILD) && cpack -G DEB

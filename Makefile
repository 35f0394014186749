# SPDX-License-Identifier: GPL-3.0-or-later
# make run   installs what is missing, builds, and starts the program on the sample tests.
# make test  installs what is missing, builds with AddressSanitizer + UBSan, runs every test.
# make fuzz  fuzzes the test file reader for FUZZ_SECONDS seconds (needs clang with libFuzzer).
# make bench builds a Release folder and prints the start-up, loading, navigation, marking and
#            memory figures beside their references (under a private Xvfb).
JOBS ?= 2
BUILD ?= build
TEST_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
BENCH_BUILD ?= build-bench

.PHONY: deps test-deps bench-deps fuzz-deps build run test fuzz bench clean

deps:
	./scripts/install-deps.sh build
test-deps:
	./scripts/install-deps.sh test
bench-deps:
	./scripts/install-deps.sh bench
fuzz-deps:
	./scripts/install-deps.sh fuzz

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=OFF
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD) && ./corvane-maths

test: test-deps
	cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j$(JOBS)
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

fuzz: fuzz-deps
	./fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_BUILD)

bench: bench-deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_BUILD) -j$(JOBS) --target bench_programs
	./bench/run.sh $(BENCH_BUILD)

clean:
	rm -rf $(BUILD) $(TEST_BUILD)

# make monkey  sends MONKEY_EVENTS random input events to whole windows in the sanitized build,
#              seeded by MONKEY_SEED (the test's own seed when empty); a failure prints the seed
#              and the last events. Example: make monkey MONKEY_EVENTS=200000 MONKEY_SEED=7
MONKEY_EVENTS ?= 200000
MONKEY_SEED ?=
.PHONY: monkey
monkey: test-deps
	cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j$(JOBS) --target test_monkey
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	    MONKEY_EVENTS=$(MONKEY_EVENTS) MONKEY_SEED=$(MONKEY_SEED) ./tests/test_monkey randomEvents

# make fuzz-record  fuzzes the record parser of corvane-results for FUZZ_SECONDS seconds.
.PHONY: fuzz-record
fuzz-record: fuzz-deps
	./fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_BUILD)-record record

# make stress  PROCESSES (20) writers save RECORDS (100) records each into one folder at once,
#              then writers are killed at random moments (KILL_ROUNDS, 20); corvane-results must
#              read every complete record and nothing else. Prints the figures.
.PHONY: stress
stress: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target record_writer corvane-results
	./scripts/stress-records.sh $(BUILD)

# make fuzz-gift  fuzzes corvane-make's GIFT reader for FUZZ_SECONDS seconds.
.PHONY: fuzz-gift
fuzz-gift: fuzz-deps
	./fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_BUILD)-gift gift

# make package  builds a Release folder (build-package) with Debian's hardening flags, packs
#               corvane-maths_VERSION_ARCH.deb (the pupil's program) and
#               corvane-maths-teacher_VERSION_ARCH.deb (the teacher's window and tools) there
#               with CPack and checks them as Debian does (desktop-file-validate, appstreamcli,
#               lintian). See docs/technicians/package.md.
PACKAGE_BUILD ?= build-package
PACKAGE_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
.PHONY: package-deps package
package-deps:
	./scripts/install-deps.sh package

package: package-deps
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF \
	    -DCMAKE_CXX_FLAGS="$$($(PACKAGE_FLAGS) CPPFLAGS) $$($(PACKAGE_FLAGS) CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$($(PACKAGE_FLAGS) LDFLAGS)" \
	    -DCMAKE_MODULE_LINKER_FLAGS="$$($(PACKAGE_FLAGS) LDFLAGS)"
	cmake --build $(PACKAGE_BUILD) -j$(JOBS) --target all screenshot
	rm -f $(PACKAGE_BUILD)/corvane-maths_*.deb $(PACKAGE_BUILD)/corvane-maths-teacher_*.deb
	cd $(PACKAGE_BUILD) && cpack
	./packaging/check.sh $(PACKAGE_BUILD)

# make repo  adds the packages to the local apt repository REPO (apt-repo/): one folder with the
#            packages, their index Packages(.gz, .xz) and a Release file naming its Origin and
#            Label (apt-ftparchive), signed (InRelease, Release.gpg) with a key made on first
#            use in REPO_KEY (repo-key/: keep it private) whose public half is
#            REPO/corvane-maths.gpg. Any web or file server can serve the folder to the room's
#            computers. See docs/technicians/repository.md.
REPO ?= apt-repo
REPO_ORIGIN ?= Corvane Maths
REPO_LABEL ?= Corvane Maths
REPO_KEY ?= repo-key
.PHONY: repo
repo: package
	./packaging/repo.sh $(PACKAGE_BUILD) $(REPO) "$(REPO_ORIGIN)" "$(REPO_LABEL)" $(REPO_KEY)

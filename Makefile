# make run   installs what is missing, builds, and starts the program on the sample tests.
# make test  installs what is missing, builds with AddressSanitizer + UBSan, runs every test.
JOBS ?= 2
BUILD ?= build
TEST_BUILD ?= build-asan

.PHONY: deps build run test clean

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD) && ./corvane-maths

test: deps
	cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j$(JOBS)
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD) $(TEST_BUILD)

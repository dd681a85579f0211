# The two commands a newcomer needs: `make run` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: deps run demo build release debug test test-asan format clean

deps:
	@scripts/install-deps.sh

release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

debug: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)

build: release

run: release
	./build/release/Velarix/velarix

# A demo camera card with synthesised jumps, and Velarix started with it as the only card.
demo: release
	./build/release/cli/velarix-cli demo build/demo
	VELARIX_VOLUMES_DIR=$(CURDIR)/build/demo ./build/release/Velarix/velarix

test: debug
	ctest --preset debug -j $(JOBS)

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build

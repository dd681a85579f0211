# The two commands a newcomer needs: `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: deps run demo fuzz build release debug test test-asan test-readers package package-check format clean translations-update

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

test: debug test-readers
	ctest --preset debug -j $(JOBS)

# The independent readers the tests run that come from npm (pinned by the lock file).
test-readers: deps
	npm ci --prefix tests/readers --no-audit --no-fund --loglevel=error

test-asan: deps test-readers
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS; a crash, leak, hang or sanitizer report fails the run.
# New inputs go to build/fuzz/corpus/<target>, findings to build/fuzz/, each run's log beside them.
FUZZ_SECONDS ?= 30
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS) --target fuzz_targets
	@set -e; passed=0; for target in $$(find build/fuzz/tests/fuzz -maxdepth 1 -name "fuzz_*" -type f -executable | sort); do \
	  name=$$(basename $$target); mkdir -p build/fuzz/corpus/$$name; \
	  echo "== $$name: $(FUZZ_SECONDS) s"; \
	  if $$target -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
	      -artifact_prefix=build/fuzz/ build/fuzz/corpus/$$name tests/fuzz/corpus/$$name >build/fuzz/$$name.log 2>&1; then \
	    grep -E "^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec" build/fuzz/$$name.log || true; \
	    passed=$$((passed + 1)); \
	  else \
	    tail -n 60 build/fuzz/$$name.log; echo "== $$name found a fault: build/fuzz/$$name.log"; exit 1; \
	  fi; \
	done; \
	test $$passed -gt 0; echo "fuzz: $$passed passed, 0 failed"

# The Debian package velarix_<version>_<arch>.deb, here, from the release build with man pages.
# Only the programs are built (not the tests); cpack then only installs what is built.
package:
	@scripts/install-deps.sh package
	cmake --preset release -DVELARIX_MAN_PAGES=ON
	cmake --build --preset release -j $(JOBS) --target velarix velarix-cli man_pages package_changelog
	rm -f velarix_*.deb
	cpack --config build/release/CPackConfig.cmake -B build/package
	mv build/package/velarix_*.deb .
	@ls -l velarix_*.deb

# Checks the package's files, lintian, desktop entry, AppStream data, man pages and completion, then
# installs it with apt, runs it and purges it (root or sudo).
package-check: package
	scripts/check-package.sh velarix_*.deb

# Refreshes the .ts files in i18n/ from the code's tr() texts (new ones wait there untranslated;
# removed ones go). Commit the result: the tests fail while the .ts files are stale.
translations-update: deps
	cmake --preset debug
	cmake --build --preset debug --target update_translations

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails on any file that `make format` would change.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build

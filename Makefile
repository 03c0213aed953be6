# Entry points; the work is done by the scripts in scripts/.
.PHONY: run test build win64 dist clean

run:    ## build and start LumivexaSE.exe under Wine (screenshot when there is no display); VIEW=1 opens the first photo, IMAGE=1 the sample disc's image
	scripts/run.sh $(if $(VIEW),--view) $(if $(IMAGE),--image)

test:   ## build everything and run every test suite
	scripts/test.sh

build:  ## build native, sanitize and win32 without testing
	scripts/build.sh

win64:  ## build the 64-bit Windows program into build/win64
	scripts/build.sh win64

dist:   ## build/dist/LumivexaSE-VERSION-win32.zip: program, converter, help, read-me, licences; started once from a clean Wine prefix
	scripts/dist.sh

clean:  ## remove build/ (the machine cache of libraries and Wine prefixes stays)
	rm -rf build

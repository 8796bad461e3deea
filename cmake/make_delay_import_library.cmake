# Makes a delay-import library for one system DLL from the toolchain's import library:
# every function the import library names goes into a module-definition file, which dlltool
# turns into a library whose imports the runtime's delay-load helper resolves on first call.
#   cmake -DNM=... -DDLLTOOL=... -DOBJCOPY=... -DIMPORT_LIBRARY=... -DDLL=... -DOUTPUT=...
#         -DSYMBOL_PREFIX=_ (i686, whose C names carry a leading underscore; empty on x86_64)
#         -P this file
execute_process(COMMAND ${NM} ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols
                COMMAND_ERROR_IS_FATAL ANY)
# A function has a thunk ("T _Name@N" on i686, "T Name" on x86_64); data exports have none and
# stay out.
string(REGEX MATCHALL "[0-9a-fA-F]+ T ${SYMBOL_PREFIX}[^\n]+" thunks "${symbols}")
set(definitions "LIBRARY \"${DLL}\"\nEXPORTS\n")
foreach(thunk IN LISTS thunks)
  string(REGEX REPLACE "^[0-9a-fA-F]+ T ${SYMBOL_PREFIX}" "" name "${thunk}")
  string(APPEND definitions "${name}\n")
endforeach()
file(WRITE ${OUTPUT}.def "${definitions}")
execute_process(COMMAND ${DLLTOOL} --kill-at --input-def ${OUTPUT}.def --dllname ${DLL}
                        --output-delaylib ${OUTPUT}.raw
                COMMAND_ERROR_IS_FATAL ANY)
# GNU ld drops the code section of an import-library member when nothing names its symbol
# (a plain import's jump stub is dead once callers go through __imp_). A delay-import stub is
# reached only through its own table slot, so it would be dropped and the slot left 0. As
# non-code input the stubs escape that rule; the linker script still places .text$* in the
# executable .text section.
execute_process(COMMAND ${OBJCOPY} --rename-section .text=.text$delay,alloc,load,readonly,data,contents
                        ${OUTPUT}.raw ${OUTPUT}
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${OUTPUT}.raw)

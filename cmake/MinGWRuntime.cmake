# The MinGW runtime libraries that the Qt libraries for Windows were linked with: our own
# executables link the runtime statically, the Qt libraries do not, so wherever Qt's DLLs go
# these go beside them.
function(keiba_mingw_runtime_dlls out)
    set(dlls)
    foreach(dll IN ITEMS libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
            find_file(found_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH
                      NO_CMAKE_FIND_ROOT_PATH)
            set(found "${found_${dll}}")
        endif()
        if(NOT EXISTS "${found}")
            message(FATAL_ERROR "The MinGW runtime library ${dll} that Qt needs was not found")
        endif()
        list(APPEND dlls "${found}")
    endforeach()
    set(${out} ${dlls} PARENT_SCOPE)
endfunction()

# Compiler settings shared by every project target: the language standard,
# strict warnings, and (in the sanitizer build) ASan + UBSan.
add_library(quarvel_common INTERFACE)
target_compile_features(quarvel_common INTERFACE cxx_std_20)
target_compile_options(quarvel_common INTERFACE -Wall -Wextra)
# Warnings are errors in the project's own scripts and CI (QUARVEL_WERROR=ON
# there); a packager's compiler may warn where ours does not, so not by default.
if(QUARVEL_WERROR)
    target_compile_options(quarvel_common INTERFACE -Werror)
endif()
target_compile_definitions(quarvel_common INTERFACE _FILE_OFFSET_BITS=64 _GNU_SOURCE)
target_include_directories(quarvel_common INTERFACE ${PROJECT_SOURCE_DIR})
# Hardening as Debian builds it: checked libc calls in optimised builds,
# read-only relocations bound at start-up.
target_compile_options(quarvel_common INTERFACE
    $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>)
target_link_options(quarvel_common INTERFACE -Wl,-z,relro,-z,now)

if(QUARVEL_SANITIZE)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(quarvel_common INTERFACE ${_san})
    target_link_options(quarvel_common INTERFACE ${_san})
endif()

# quarvel_add_library(NAME DIR [LINK ...]): one static library per folder,
# built from every .cpp file in that folder.
function(quarvel_add_library name dir)
    cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
    file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp)
    add_library(${name} STATIC ${_src})
    target_link_libraries(${name} PUBLIC quarvel_common ${ARG_LINK})
endfunction()

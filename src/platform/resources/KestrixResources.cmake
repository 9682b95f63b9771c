# Compiles a program's resource script and embeds the result into it.
#
#   kestrix_add_resources(TARGET RC_FILE SYMBOLS_HEADER)
#
# The script is run through the C preprocessor (so that it can include the
# resource header) and compiled with llvm-rc into a standard 32-bit .res file
# in the build folder. A generated C++ source then holds the .res bytes and the
# text of the resource header, reached through three C symbols that the
# platform's resource loader declares weak:
#
#   extern "C" const unsigned char kx_resource_section[];
#   extern "C" const size_t kx_resource_section_size;
#   extern "C" const char kx_resource_symbols[];   // NUL-terminated
#
# The target gets the generated source and these properties:
#   KESTRIX_RES_FILE    the compiled .res file
#   KESTRIX_RES_SYMBOLS the resource header whose text is embedded
#   KESTRIX_RES_SOURCE  the generated source (another target may add it to
#                       carry the same resources)
#   KESTRIX_RES_TARGET  the custom target that builds both
#
# Run with `cmake -P` and KX_EMBED_* set, this file writes the generated
# source instead (the build does that).

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED KX_EMBED_OUTPUT)
    # Bytes of a file as a C initialiser list, sixteen a line.
    function(kx_bytes_as_initialiser file out_var)
        file(READ "${file}" hex HEX)
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
        string(REPEAT "0x..," 16 line)
        string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
        set(${out_var} "${bytes}" PARENT_SCOPE)
    endfunction()

    kx_bytes_as_initialiser("${KX_EMBED_RES}" res_bytes)
    # The header text as a string literal, every byte escaped, 32 a line.
    file(READ "${KX_EMBED_SYMBOLS}" symbols_hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" symbols_text "${symbols_hex}")
    string(REPEAT "[\\]x.." 32 line)
    string(REGEX REPLACE "(${line})" "\\1\"\n    \"" symbols_text "${symbols_text}")
    get_filename_component(res_name "${KX_EMBED_RES}" NAME)
    get_filename_component(symbols_name "${KX_EMBED_SYMBOLS}" NAME)
    file(WRITE "${KX_EMBED_OUTPUT}.tmp"
"// Generated from ${res_name} and ${symbols_name} by KestrixResources.cmake; do not edit.
#include <cstddef>

extern \"C\" {
extern const unsigned char kx_resource_section[];
extern const size_t kx_resource_section_size;
extern const char kx_resource_symbols[];

const unsigned char kx_resource_section[] = {
    ${res_bytes}
};
const size_t kx_resource_section_size = sizeof kx_resource_section;

const char kx_resource_symbols[] =
    \"${symbols_text}\";
}
")
    file(RENAME "${KX_EMBED_OUTPUT}.tmp" "${KX_EMBED_OUTPUT}")
    return()
endif()

find_program(KESTRIX_LLVM_RC NAMES llvm-rc llvm-rc-14 REQUIRED
             DOC "llvm-rc, the resource compiler (Debian package llvm)")
set(KESTRIX_RESOURCES_CMAKE ${CMAKE_CURRENT_LIST_FILE})

function(kestrix_add_resources target rc_file symbols_header)
    get_filename_component(rc_dir ${rc_file} DIRECTORY)
    get_filename_component(rc_name ${rc_file} NAME_WE)
    set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
    set(preprocessed ${out_dir}/${rc_name}.rc.i)
    set(res_file ${out_dir}/${rc_name}.res)
    set(embed_source ${out_dir}/${rc_name}_res.cpp)

    # Files the script may read besides itself: icons, bitmaps, headers.
    file(GLOB rc_inputs CONFIGURE_DEPENDS ${rc_dir}/*.h ${rc_dir}/*.ico ${rc_dir}/*.bmp
         ${rc_dir}/*.cur)

    add_custom_command(
        OUTPUT ${res_file}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
        COMMAND ${CMAKE_C_COMPILER} -E -P -x c -DRC_INVOKED -I${rc_dir} ${rc_file}
                -o ${preprocessed}
        # The script is UTF-8 (it says so with #pragma code_page(65001), which
        # this llvm-rc does not read; /C says the same). The "--" ends the
        # options: an absolute input path such as /check/... would otherwise be
        # read as the /C option with its value joined on.
        COMMAND ${KESTRIX_LLVM_RC} /no-preprocess /C 65001 /I ${rc_dir} /FO ${res_file} --
                ${preprocessed}
        DEPENDS ${rc_file} ${symbols_header} ${rc_inputs}
        WORKING_DIRECTORY ${rc_dir}
        COMMENT "Compiling resources ${rc_name}.rc"
        VERBATIM)

    add_custom_command(
        OUTPUT ${embed_source}
        COMMAND ${CMAKE_COMMAND} -DKX_EMBED_RES=${res_file} -DKX_EMBED_SYMBOLS=${symbols_header}
                -DKX_EMBED_OUTPUT=${embed_source} -P ${KESTRIX_RESOURCES_CMAKE}
        DEPENDS ${res_file} ${symbols_header} ${KESTRIX_RESOURCES_CMAKE}
        COMMENT "Embedding resources ${rc_name}.res"
        VERBATIM)

    add_custom_target(${target}_resources DEPENDS ${res_file} ${embed_source})
    target_sources(${target} PRIVATE ${embed_source})
    add_dependencies(${target} ${target}_resources)
    set_target_properties(${target} PROPERTIES
        KESTRIX_RES_FILE ${res_file}
        KESTRIX_RES_SYMBOLS ${symbols_header}
        KESTRIX_RES_SOURCE ${embed_source}
        KESTRIX_RES_TARGET ${target}_resources)
endfunction()

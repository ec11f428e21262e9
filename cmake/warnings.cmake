# Every target of the project gets the same warning set; CI adds -Werror.
add_library(inkrelay_warnings INTERFACE)
if(MSVC)
    target_compile_options(inkrelay_warnings INTERFACE /W4 /utf-8 $<$<BOOL:${INKRELAY_WERROR}>:/WX>)
else()
    target_compile_options(inkrelay_warnings INTERFACE -Wall -Wextra -Wpedantic
        $<$<BOOL:${INKRELAY_WERROR}>:-Werror>)
    # GCC 12 at -O3 reports string concatenation ("(" + std::to_string(n)) as an overlapping
    # memcpy inside libstdc++ (GCC bug 105329); the warning is wrong there and fixed in GCC 13.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(inkrelay_warnings INTERFACE -Wno-restrict)
    endif()
endif()

if(INKRELAY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

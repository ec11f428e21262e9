# Every target of the project gets the same warning set; CI adds -Werror.
add_library(inkrelay_warnings INTERFACE)
if(MSVC)
    target_compile_options(inkrelay_warnings INTERFACE /W4 /utf-8 $<$<BOOL:${INKRELAY_WERROR}>:/WX>)
else()
    target_compile_options(inkrelay_warnings INTERFACE -Wall -Wextra -Wpedantic
        $<$<BOOL:${INKRELAY_WERROR}>:-Werror>)
endif()

if(INKRELAY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# Strict warnings for the project's own targets only; third-party code keeps its own settings.
function(partwright_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    # GCC 12 reports impossible overlaps for "text" + std::string at -O3, a false positive that
    # GCC 13 no longer gives.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()

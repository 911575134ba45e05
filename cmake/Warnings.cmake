# Strict warnings for the project's own targets only; third-party code keeps its own settings.
function(partwright_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

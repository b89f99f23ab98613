# Warning flags shared by every target of the project.
function(ombrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Wnon-virtual-dtor -Wold-style-cast)
  if(OMBREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

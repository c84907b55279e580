# Project-wide warning and sanitizer flags, applied through one interface target
# so that third-party code (GoogleTest, Qt's generated files) keeps its own.
add_library(varnock_options INTERFACE)
add_library(Varnock::options ALIAS varnock_options)

if(MSVC)
  target_compile_options(varnock_options INTERFACE /W4 /utf-8)
  if(VARNOCK_WARNINGS_AS_ERRORS)
    target_compile_options(varnock_options INTERFACE /WX)
  endif()
else()
  target_compile_options(varnock_options INTERFACE -Wall -Wextra -Wpedantic)
  if(VARNOCK_WARNINGS_AS_ERRORS)
    target_compile_options(varnock_options INTERFACE -Werror)
  endif()
endif()

if(VARNOCK_SANITIZE)
  set(sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # Every target of ours links these options, so that reports cover whole call chains.
  target_compile_options(varnock_options INTERFACE ${sanitize_flags})
  target_link_options(varnock_options INTERFACE ${sanitize_flags})
endif()

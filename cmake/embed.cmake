# embed_file(<target-source-var> <input> <symbol>)
# Turns a binary file into a C++ source that defines
#   extern const unsigned char <symbol>[];  extern const unsigned long <symbol>Size;
# so that built-in pictures come from the committed BMP files, not pasted hex.
function(embed_file out_var input symbol)
  set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P "${PROJECT_SOURCE_DIR}/cmake/embed_run.cmake"
    DEPENDS "${input}" "${PROJECT_SOURCE_DIR}/cmake/embed_run.cmake"
    COMMENT "Embedding ${input} as ${symbol}"
    VERBATIM)
  set(${out_var} "${output}" PARENT_SCOPE)
endfunction()

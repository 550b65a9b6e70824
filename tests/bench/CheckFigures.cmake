# Runs qm-bench --short and checks that it ends well and prints each figure as one JSON
# object on its own line.
if(NOT EXISTS ${DATA}/gfx OR NOT EXISTS ${DATA}/dico-english)
  message(FATAL_ERROR "the game folder ${DATA} has not been made (build the data target)")
endif()
execute_process(COMMAND ${TOOL} --short --data ${DATA}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "qm-bench failed (${result}): ${err}")
endif()
foreach(name frame_ms_median_1080 frame_ms_p95_1080 frame_ms_p99_1080 frame_ms_median_1440
             frame_ms_p99_1440 frame_ms_median_details_1080 start_level_ms startup_ms validate_us
             lookup_found_us lookup_missing_us glyph_renders_per_frame file_opens_per_frame
             peak_rss_mb hint_ms_p95 hint_ms_max hint_frame_ms_max
             generate_ms_median generate_ms_max)
  if(NOT out MATCHES "\n{\"${name}\": [0-9][0-9.e+]*}\n")
    message(FATAL_ERROR "qm-bench printed no figure ${name}")
  endif()
endforeach()
# Not timings: a steady frame must read no file and render no glyph, and the benchmark's
# move must be accepted, or the figures measure something else.
if(NOT out MATCHES "\n{\"glyph_renders_per_frame\": 0}\n" OR NOT out MATCHES "\n{\"file_opens_per_frame\": 0}\n")
  message(FATAL_ERROR "a steady play frame rendered glyphs or opened files")
endif()
if(NOT out MATCHES "\\(accepted\\)")
  message(FATAL_ERROR "the benchmark's move was not accepted")
endif()

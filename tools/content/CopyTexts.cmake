# Copies the committed text tables (data/*.txt) beside the generated content, byte for byte.
file(GLOB texts ${SRC}/*.txt)
foreach(text ${texts})
  file(COPY ${text} DESTINATION ${DST})
endforeach()

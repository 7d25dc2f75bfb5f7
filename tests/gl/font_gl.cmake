# Text on a real context: bitmap-font drawing from a generated sheet, and system fonts from the
# platform's own font machinery (fontconfig and FreeType natively, GDI and WGL under Wine).
o3d_gl_test(font_draw_gl_test ${CMAKE_CURRENT_LIST_DIR}/font_draw_gl_test.cpp)
o3d_gl_test(system_font_gl_test ${CMAKE_CURRENT_LIST_DIR}/system_font_gl_test.cpp)

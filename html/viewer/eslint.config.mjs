// Lint rules for the viewer's scripts. Each is an ES module that imports by name what it takes
// from the others; html/embed_viewer.cmake joins them into one script at build time.
// page_values.js, which they import the shared values from, is written by the build.
import js from "@eslint/js";
import globals from "globals";

export default [
  js.configs.recommended,
  {
    files: ["*.js"],
    languageOptions: {
      ecmaVersion: 2022,
      sourceType: "module",
      globals: { ...globals.browser },
    },
    rules: {
      "no-unused-vars": "error",
      eqeqeq: "error",
      "no-var": "error",
      "prefer-const": "error",
    },
  },
];

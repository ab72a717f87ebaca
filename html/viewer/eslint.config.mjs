// Lint rules for the viewer's scripts. They are joined into one classic script at build time
// (html/embed_viewer.cmake), so each file names what it takes from the others in a
// `/* global */` comment and what it gives them in an `/* exported */` comment.
import js from "@eslint/js";
import globals from "globals";

export default [
  js.configs.recommended,
  {
    files: ["*.js"],
    languageOptions: {
      ecmaVersion: 2022,
      sourceType: "script",
      globals: { ...globals.browser },
    },
    rules: {
      "no-unused-vars": ["error", { vars: "local" }],
      eqeqeq: "error",
      "no-var": "error",
      "prefer-const": "error",
    },
  },
];

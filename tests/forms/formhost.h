#pragma once

class QMainWindow;
class Ui_MainGUI;

// Builds the generated form on a window. The form's code is large, so it is compiled once here
// for every suite instead of in each test file.
class FormHost
{
public:
    explicit FormHost(QMainWindow* window);
    ~FormHost();
    FormHost(const FormHost&) = delete;
    FormHost& operator=(const FormHost&) = delete;

    void retranslate();
    QMainWindow* window() const { return m_window; }

private:
    QMainWindow* m_window;
    Ui_MainGUI* m_ui;
};

object DataBackFrm: TDataBackFrm
  ClientWidth = 371
  ClientHeight = 124
  Caption = '还原个人配置信息'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poDesktopCenter
  Font.Name = '宋体'
  Font.Height = -12
  OnShow = FormShow
  OnClose = FormClose
  object GroupBox1: TGroupBox
    Align = alClient
    Caption = '请选择还原路径'
    object Label1: TLabel
      Left = 16
      Top = 28
      Caption = '文件名：'
      Visible = False
    end
    object yFileName: TEdit
      Left = 76
      Top = 24
      Width = 200
      ReadOnly = True
      Visible = False
    end
    object btnSelectFile: TButton
      Left = 284
      Top = 22
      Width = 60
      Height = 24
      Caption = '选择'
      Visible = False
      OnClick = btnSelectFileClick
    end
    object lblPostion: TLabel
      Left = 16
      Top = 28
      Caption = '还原进度:'
    end
    object ProgressFile: TProgressBar
      Left = 88
      Top = 26
      Width = 260
      Height = 16
    end
    object Label3: TLabel
      Left = 16
      Top = 56
      Caption = '当前状态：'
    end
    object lblWaitBackup: TLabel
      Left = 88
      Top = 56
      Caption = '准备还原'
    end
    object btnBackUp: TButton
      Left = 180
      Top = 86
      Width = 75
      Height = 25
      Caption = '确定'
      Default = True
      OnClick = btnBackUpClick
    end
    object btnClose: TButton
      Left = 272
      Top = 86
      Width = 75
      Height = 25
      Caption = '取消'
      Cancel = True
      OnClick = btnCloseClick
    end
  end
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [skMainMenu, skPopupMenu, skToolbar, skControlbar, skCombo, skCheckBox, skRadioButton, skProgress, skScrollbar, skEdit, skButton, skBitBtn, skSpeedButton, skPanel, skGroupBox, skStatusBar, skTab, skSystemMenu]
    SkinFormtype = sfMainform
    Version = '1.00.00.01'
    MenuUpdate = True
    MenuMerge = False
    SkinPack = {
      @BUILTIN_SKIN@}
  end
end
